// A library of the parent project's own, one per clashing name.
#define STRINGIFY2(x) #x
#define STRINGIFY(x) STRINGIFY2(x)
const char* OwnLibraryName() { return STRINGIFY(OWN_NAME); }
