// Placeholder entry of the command-line converter.
#include <cstdio>

int main() {
    std::fputs("varid-convert: not built yet\n", stderr);
    return 2;
}
