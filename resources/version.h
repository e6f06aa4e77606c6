// The program's version, in the one place the release and the resources read it.
#define QUILLET_VERSION_TEXT "1.2.0"
#define QUILLET_VERSION_NUMBERS 1, 2, 0, 0
