// tinygltf's code for the page, where no shared library of it can be
// linked: without its image coders (a print has no textures).
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
