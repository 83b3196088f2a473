#include "fields/text.h"

int len(int x)
{
    int sign_width = x < 0 ? 1 : 0;
    long v = x < 0 ? -static_cast<long>(x) : x;
    int digits = v <= 9 ? 1 : v <= 99 ? 2 : v <= 999 ? 3 : v <= 9999 ? 4 : 5;
    return digits + sign_width;
}
