#include <cstdio>

int main()
{
    std::puts("zel-editor: the desktop program is not built yet");
    return 0;
}
