// Writes each of its arguments (after the program name) to standard output, each followed by a
// zero byte, so that arguments holding line breaks come back intact.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, stdout);
    return 0;
}
