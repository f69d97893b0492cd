// Placeholder entry of the encoder engine; the engine itself lives beside this file.
#include <cstdio>

int main() {
    std::fputs("Error: engine not built yet\n", stderr);
    return 1;
}
