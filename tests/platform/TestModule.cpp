// A module for the loader's tests, with one entry point.
extern "C" int olvaneTestModuleAnswer() {
    return 42;
}
