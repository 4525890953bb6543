#pragma once

namespace math
{

// 3 × 3 matrix of nine floats in rows; a point maps as x' = m0·x + m1·y + m2, y' = m3·x + m4·y + m5.
struct Matrix3
{
    float m[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};

    static Matrix3 Identity();
    static Matrix3 Translation(float x, float y);
    static Matrix3 Scaling(float sx, float sy);
    // Rows (cos a, sin a, 0), (−sin a, cos a, 0), (0, 0, 1).
    static Matrix3 Rotation(float radians);
    // (this × o)[i][j] = Σk this[i][k] · o[k][j].
    Matrix3 operator*(const Matrix3& o) const;
};

} // namespace math

namespace render
{

// A 2D affine transform built from steps applied in call order, each about the origin. It stays a
// translation, scale or rotation with translations around it while it can, and falls back to a matrix
// otherwise.
class Transform2D
{
public:
    Transform2D() = default;

    // Back to the new state (identity; the matrix is rebuilt when asked).
    void Reset();
    void Translate(float x, float y);
    void Scale(float sx, float sy);
    void Rotate(float radians);
    void RotateDegrees(float degrees);
    // Rebuilds the matrix when it is stale.
    const math::Matrix3& GetMatrix();

    // Maps x and y of count positions, stride bytes apart.
    void Apply(float* firstPosition, unsigned stride, unsigned count);
    // Maps one point.
    void Apply(float& x, float& y);

    bool IsMatrixMode() const { return mMatrixMode; }
    float GetScaleX() const { return mScale[0]; }
    float GetScaleY() const { return mScale[1]; }

    math::Matrix3 mMatrix;
    bool mDirty = true;
    bool mMatrixMode = false;
    bool mHasRotation = false;
    bool mHasScale = false;
    float mPre[2] = {0, 0};
    float mPost[2] = {0, 0};
    float mScale[2] = {1, 1};
    float mRotation = 0;

private:
    void SwitchToMatrixMode();
};

} // namespace render
