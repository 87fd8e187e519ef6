// Where the component's own file lies: the dictionary files are looked for there.
#pragma once

#include <filesystem>

namespace pelux {

class IModuleDirectory {
public:
    virtual ~IModuleDirectory() = default;
    virtual std::filesystem::path directory() const = 0;
};

}  // namespace pelux
