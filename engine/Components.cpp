#include "Components.h"

#include <cstdio>

Components::~Components() {
    for (char* t : texts_) delete[] t;
}

void Components::show() const {
    std::printf("\nThis is VIREO 8.3.0-beta 64 bit \n\nInstalled Vireo components\n\n");
    for (const char* t : texts_) std::printf("%s\n", t);
    std::printf("\n");
}
