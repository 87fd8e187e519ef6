#include "platform/file_mapping.h"

#include <atomic>

namespace pelux {

namespace {
std::atomic<IFileMapper*> g_mapper{nullptr};
}

void setFileMapper(IFileMapper* mapper) { g_mapper.store(mapper); }
IFileMapper* fileMapper() { return g_mapper.load(); }

}  // namespace pelux
