/* Order entry: start-up. Plain ASCII, nothing here is reported. */
#include <stdio.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s CONFIG\n", argv[0]);
        return 2;
    }
    printf("config: %s\n", argv[1]);
    return strcmp(argv[1], "-") == 0 ? 1 : 0;
}
