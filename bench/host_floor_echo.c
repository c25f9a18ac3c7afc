/* The floor for the host's figures: the least a native-messaging host can do. It echoes each
   frame it reads, or, given a file name, answers each frame with that file's bytes. */
#include <stdint.h>
#include <stdio.h>

/* Into a buffer kept from one request to the next, as the least a host can do. */
static char* readFile(const char* path, uint32_t* length) {
    static char bytes[1 << 20];
    FILE* file = fopen(path, "rb");
    if (!file) {
        return NULL;
    }
    *length = (uint32_t)fread(bytes, 1, sizeof bytes, file);
    fclose(file);
    return bytes;
}

int main(int argc, char** argv) {
    static char frame[1000000];
    for (;;) {
        uint32_t length = 0;
        if (fread(&length, 1, 4, stdin) != 4 || length == 0 || length >= sizeof frame ||
            fread(frame, 1, length, stdin) != length) {
            return 0;
        }
        if (argc > 1) {
            uint32_t size = 0;
            char* bytes = readFile(argv[1], &size);
            if (!bytes) {
                return 1;
            }
            fwrite(&size, 1, 4, stdout);
            fwrite(bytes, 1, size, stdout);
        } else {
            fwrite(&length, 1, 4, stdout);
            fwrite(frame, 1, length, stdout);
        }
        fflush(stdout);
    }
}
