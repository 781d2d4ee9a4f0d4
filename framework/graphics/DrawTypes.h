#pragma once

// Small records handed to the image drawing operations: a horizontal span for
// polygon fills, a 3 x 3 transform for matrix blits, and a textured triangle
// corner for triangle blits. Plain value types.

namespace Zorvin {

// One run of pixels (x, y) .. (x + width - 1, y).
struct Span {
    int x = 0;
    int y = 0;
    int width = 0;
};

// Row-major 3 x 3 matrix acting on column vectors (x, y, 1): m[0][2] and
// m[1][2] translate. Used for the matrix blit and by rotated drawing.
struct Matrix3 {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    static Matrix3 Identity() { return Matrix3(); }
    static Matrix3 Translation(float dx, float dy)
    {
        Matrix3 r;
        r.m[0][2] = dx;
        r.m[1][2] = dy;
        return r;
    }
    static Matrix3 Scale(float sx, float sy)
    {
        Matrix3 r;
        r.m[0][0] = sx;
        r.m[1][1] = sy;
        return r;
    }
    // Counter-clockwise on screen for a positive angle (radians), the
    // direction rotated drawing uses.
    static Matrix3 Rotation(double angle);

    Matrix3 operator*(const Matrix3& o) const
    {
        Matrix3 r;
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
        return r;
    }
    void Apply(float x, float y, float& ox, float& oy) const
    {
        float w = m[2][0] * x + m[2][1] * y + m[2][2];
        if (w == 0)
            w = 1;
        ox = (m[0][0] * x + m[0][1] * y + m[0][2]) / w;
        oy = (m[1][0] * x + m[1][1] * y + m[1][2]) / w;
    }
    // The inverse, or false (and the identity) when the matrix is singular.
    bool Invert(Matrix3& out) const;
};

// One corner of a textured triangle: screen position and texture position in
// source pixels (u, v), plus a packed colour multiplied into the texture.
struct TriVertex {
    float x = 0;
    float y = 0;
    float u = 0;
    float v = 0;
    unsigned int color = 0xFFFFFFFF;
};

} // namespace Zorvin
