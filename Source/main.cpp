#include "Core/Base/Result.h"

int main(int, char**)
{
    return VN_OK;
}
