#include <cstdio>

int main() {
    std::puts("tarvoiir-cli");
    return 0;
}
