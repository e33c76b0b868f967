// The component list of option -v: one info line per library that exports info.
#ifndef VIREO_COMPONENTS_H
#define VIREO_COMPONENTS_H

#include <cstring>
#include <functional>
#include <set>
#include <utility>

// Component texts are told apart by their address: two libraries with the same line both
// appear. The listing follows the texts, so that it does not depend on where the
// allocator happened to put them.
struct ComponentTextOrder {
    bool operator()(const char* a, const char* b) const {
        const int c = std::strcmp(a, b);
        return c != 0 ? c < 0 : std::less<const char*>()(a, b);
    }
};
using ComponentSet = std::set<char*, ComponentTextOrder>;

class Components {
public:
    explicit Components(ComponentSet texts) : texts_(std::move(texts)) {}
    ~Components();
    Components(const Components&) = delete;
    Components& operator=(const Components&) = delete;
    void show() const;

private:
    ComponentSet texts_;  // owned: each was allocated by a library's info
};

#endif
