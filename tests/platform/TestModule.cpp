// A module for the loader's tests, with one entry point.
#ifndef OLVANE_TEST_ANSWER
#define OLVANE_TEST_ANSWER 42
#endif

extern "C" int olvaneTestModuleAnswer() {
    return OLVANE_TEST_ANSWER;
}
