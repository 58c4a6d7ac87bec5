#include "engine/dpi_scale.h"

int ScaleForDpi(int value, int fromDpi, int toDpi)
{
    if (fromDpi <= 0 || toDpi <= 0)
        return value;
    const long long product = static_cast<long long>(value) * toDpi;
    const long long half = fromDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / fromDpi : (product - half) / fromDpi);
}
