// The component list of option -v: one info line per library that exports info.
#ifndef VIREO_COMPONENTS_H
#define VIREO_COMPONENTS_H

#include <set>

class Components {
public:
    explicit Components(std::set<char*> texts) : texts_(std::move(texts)) {}
    ~Components();
    Components(const Components&) = delete;
    Components& operator=(const Components&) = delete;
    void show() const;

private:
    std::set<char*> texts_;  // owned: each was allocated by a library's info
};

#endif
