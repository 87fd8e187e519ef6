// An in-memory registry with case-insensitive key paths, as the real one has, and a way to
// make one key's creation fail.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/registry.h"

namespace pelux::testing {

class CFakeRegistry : public IRegistry {
public:
    using Values = std::map<std::u16string, std::u16string>;
    using Key = std::pair<RegistryRoot, std::u16string>;

    std::map<Key, Values> keys;
    std::u16string failCreating;  // lower-case path whose creation fails
    int32_t failure = static_cast<int32_t>(0x80070005u);
    int operations = 0;

    static std::u16string fold(std::u16string_view path) {
        std::u16string out(path);
        for (char16_t& c : out)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        return out;
    }

    bool has(RegistryRoot root, std::u16string_view path) const {
        return keys.count({root, fold(path)}) != 0;
    }
    const Values* at(RegistryRoot root, std::u16string_view path) const {
        auto found = keys.find({root, fold(path)});
        return found == keys.end() ? nullptr : &found->second;
    }

    int32_t createKey(RegistryRoot root, std::u16string_view path) override {
        ++operations;
        const std::u16string folded = fold(path);
        if (folded == failCreating) return failure;
        for (size_t cut = folded.find(u'\\'); cut != std::u16string::npos;
             cut = folded.find(u'\\', cut + 1))
            keys[{root, folded.substr(0, cut)}];
        keys[{root, folded}];
        return 0;
    }
    int32_t deleteTree(RegistryRoot root, std::u16string_view path) override {
        ++operations;
        const std::u16string folded = fold(path);
        if (!keys.erase({root, folded})) return kRegistryNotFound;
        const std::u16string prefix = folded + u'\\';
        std::erase_if(keys, [&](const auto& entry) {
            return entry.first.first == root && entry.first.second.starts_with(prefix);
        });
        return 0;
    }
    int32_t deleteKeyIfLeaf(RegistryRoot root, std::u16string_view path) override {
        ++operations;
        const std::u16string folded = fold(path);
        auto found = keys.find({root, folded});
        if (found == keys.end()) return kRegistryNotFound;
        const std::u16string prefix = folded + u'\\';
        auto child = keys.lower_bound({root, prefix});
        if (child != keys.end() && child->first.first == root &&
            child->first.second.starts_with(prefix))
            return 0;
        keys.erase(found);
        return 0;
    }
    int32_t setValue(RegistryRoot root, std::u16string_view path, std::u16string_view name,
                     std::u16string_view text) override {
        ++operations;
        auto found = keys.find({root, fold(path)});
        if (found == keys.end()) return kRegistryNotFound;
        found->second[std::u16string(name)] = std::u16string(text);
        return 0;
    }
    int32_t deleteValue(RegistryRoot root, std::u16string_view path,
                        std::u16string_view name) override {
        ++operations;
        auto found = keys.find({root, fold(path)});
        if (found == keys.end() || !found->second.erase(std::u16string(name)))
            return kRegistryNotFound;
        return 0;
    }
};

}  // namespace pelux::testing
