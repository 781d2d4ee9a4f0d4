#include "framework/graphics/DrawTypes.h"

#include <cmath>

namespace Zorvin {

Matrix3 Matrix3::Rotation(double angle)
{
    // Screen y points down, so a counter-clockwise turn on screen is
    // x' = x cos + y sin, y' = -x sin + y cos.
    Matrix3 r;
    float c = float(std::cos(angle)), s = float(std::sin(angle));
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    return r;
}

bool Matrix3::Invert(Matrix3& out) const
{
    const auto& a = m;
    double det = double(a[0][0]) * (double(a[1][1]) * a[2][2] - double(a[1][2]) * a[2][1]) -
                 double(a[0][1]) * (double(a[1][0]) * a[2][2] - double(a[1][2]) * a[2][0]) +
                 double(a[0][2]) * (double(a[1][0]) * a[2][1] - double(a[1][1]) * a[2][0]);
    out = Matrix3();
    if (det == 0 || !std::isfinite(det))
        return false;
    double k = 1.0 / det;
    out.m[0][0] = float((double(a[1][1]) * a[2][2] - double(a[1][2]) * a[2][1]) * k);
    out.m[0][1] = float((double(a[0][2]) * a[2][1] - double(a[0][1]) * a[2][2]) * k);
    out.m[0][2] = float((double(a[0][1]) * a[1][2] - double(a[0][2]) * a[1][1]) * k);
    out.m[1][0] = float((double(a[1][2]) * a[2][0] - double(a[1][0]) * a[2][2]) * k);
    out.m[1][1] = float((double(a[0][0]) * a[2][2] - double(a[0][2]) * a[2][0]) * k);
    out.m[1][2] = float((double(a[0][2]) * a[1][0] - double(a[0][0]) * a[1][2]) * k);
    out.m[2][0] = float((double(a[1][0]) * a[2][1] - double(a[1][1]) * a[2][0]) * k);
    out.m[2][1] = float((double(a[0][1]) * a[2][0] - double(a[0][0]) * a[2][1]) * k);
    out.m[2][2] = float((double(a[0][0]) * a[1][1] - double(a[0][1]) * a[1][0]) * k);
    return true;
}

} // namespace Zorvin
