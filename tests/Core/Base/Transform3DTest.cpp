#include "Core/Base/Transform3D.h"
#include "Core/Base/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

constexpr float kHalfPi = 1.5707963f;

math::Point3 Apply(const math::Matrix4& m, const math::Point3& p)
{
    math::Point3 out;
    m.TransformPoint(p, out);
    return out;
}

TEST(Matrix4, RotationFollowsRowVectorYawPitchRoll)
{
    struct Case
    {
        math::Point3 angles, input, expected;
    };
    const Case cases[] = {
        {{0, 0, kHalfPi}, {1, 0, 0}, {0, 1, 0}},  // roll about z
        {{0, kHalfPi, 0}, {1, 0, 0}, {0, 0, -1}}, // yaw about y
        {{0, kHalfPi, 0}, {0, 0, 1}, {1, 0, 0}},
        {{kHalfPi, 0, 0}, {0, 1, 0}, {0, 0, 1}}, // pitch about x
        // Roll first, then pitch, then yaw.
        {{kHalfPi, kHalfPi, 0}, {0, 1, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases)
    {
        math::Matrix4 m(true);
        m.SetRotation(c.angles);
        EXPECT_TRUE(Apply(m, c.input) == c.expected) << c.angles.x << " " << c.angles.y << " " << c.angles.z;
    }
}

TEST(Matrix4, ComposedOperationsMatchTheFullProduct)
{
    math::Matrix4 m(true);
    m.SetTranslation(math::Point3(1, 2, 3));
    m.Scale(math::Point3(2, 3, 4));
    m.Rotate(math::Point3(0.3f, -0.7f, 1.1f));
    m.Translate(math::Point3(-5, 6, 0.5f));

    math::Matrix4 t(true), s(true), r(true), t2(true);
    t.SetTranslation(math::Point3(1, 2, 3));
    s.SetScale(math::Point3(2, 3, 4));
    r.SetRotation(math::Point3(0.3f, -0.7f, 1.1f));
    t2.SetTranslation(math::Point3(-5, 6, 0.5f));
    math::Matrix4 product = t.Multiply(s);
    product *= r;
    product = product.Multiply(t2);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], product[i], 1e-5f) << i;
    math::Point3 p(0.5f, -2, 7);
    m.TransformPoint(p);
    EXPECT_TRUE(p == Apply(product, math::Point3(0.5f, -2, 7)));
}

// The lazy forms build their matrix without products; each must be the product it stands for:
// translation × (scale or rotation) × post-translation.
TEST(Transform3D, LazyMatricesAreTheirProducts)
{
    struct Case
    {
        const char* name;
        math::Point3 pre, scale, rotation, post;
        bool scaled, rotated;
    };
    const Case cases[] = {
        {"translation", {3, -4, 5}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}, false, false},
        {"scale with both translations", {3, -4, 5}, {2, 0.5f, 3}, {0, 0, 0}, {-7, 8, 1}, true, false},
        {"roll", {3, -4, 0}, {1, 1, 1}, {0, 0, 0.7f}, {100, 50, 0}, false, true},
        {"negative roll", {0, 0, 0}, {1, 1, 1}, {0, 0, -2.5f}, {10, 0, 0}, false, true},
        {"yaw, pitch and roll", {1, 2, 3}, {1, 1, 1}, {0.3f, -0.7f, 1.1f}, {-5, 6, 0.5f}, false, true},
        {"pitch alone", {1, 2, 3}, {1, 1, 1}, {0.4f, 0, 0}, {0, 0, 0}, false, true},
    };
    for (const Case& c : cases)
    {
        math::Transform3D t;
        t.Translate(c.pre.x, c.pre.y, c.pre.z);
        if (c.scaled)
            t.Scale(c.scale.x, c.scale.y, c.scale.z);
        if (c.rotated)
            t.Rotate(c.rotation.x, c.rotation.y, c.rotation.z);
        t.Translate(c.post.x, c.post.y, c.post.z);
        EXPECT_FALSE(t.IsMatrixMode()) << c.name;

        math::Matrix4 pre(true), middle(true), post(true);
        pre.SetTranslation(c.pre);
        if (c.scaled)
            middle.SetScale(c.scale);
        if (c.rotated)
            middle.SetRotation(c.rotation);
        post.SetTranslation(c.post);
        const math::Matrix4 product = pre.Multiply(middle).Multiply(post);
        const math::Matrix4& built = t.GetMatrix();
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(built[i], product[i], 1e-4f) << c.name << " element " << i;
    }
}

TEST(Transform3D, TranslateScaleTranslateMapsTheOrigin)
{
    math::Transform3D t;
    t.Translate(10, 0, 0);
    t.Scale(2, 2, 2);
    t.Translate(1, 0, 0);
    EXPECT_FALSE(t.IsMatrixMode());
    EXPECT_TRUE(Apply(t.GetMatrix(), math::Point3(0, 0, 0)) == math::Point3(21, 0, 0));
}

TEST(Transform3D, ScalesAboutACentre)
{
    math::Transform3D t;
    t.Translate(-100, -50);
    t.Scale(1.1f, 1.1f);
    t.Translate(100, 50);
    EXPECT_TRUE(Apply(t.GetMatrix(), math::Point3(100, 50, 0)) == math::Point3(100, 50, 0));
    EXPECT_TRUE(Apply(t.GetMatrix(), math::Point3(110, 50, 0)) == math::Point3(111, 50, 0));
}

// Switching to matrix mode must not change what the earlier operations did.
TEST(Transform3D, MatrixModeKeepsEarlierOperations)
{
    const math::Point3 probe(3, -4, 5);

    math::Transform3D rotated;
    rotated.Translate(1, 2, 3);
    rotated.Rotate(0, 0, kHalfPi);
    rotated.Translate(7, 0, 0);
    const math::Point3 before = Apply(rotated.GetMatrix(), probe);
    EXPECT_TRUE(before == math::Point3(7 + 2, 4, 8)); // (4, -2, 8) rolled to (2, 4, 8), then moved
    rotated.Rotate(0, 0, kHalfPi);
    EXPECT_TRUE(rotated.IsMatrixMode());
    math::Matrix4 second(true);
    second.SetRotation(math::Point3(0, 0, kHalfPi));
    EXPECT_TRUE(Apply(rotated.GetMatrix(), probe) == Apply(second, before));

    math::Transform3D scaledAfterRotation;
    scaledAfterRotation.Rotate(0, 0, kHalfPi);
    scaledAfterRotation.Scale(2, 3, 1);
    EXPECT_TRUE(scaledAfterRotation.IsMatrixMode());
    EXPECT_TRUE(Apply(scaledAfterRotation.GetMatrix(), math::Point3(1, 0, 0)) == math::Point3(0, 3, 0));

    math::Transform3D mirrored;
    mirrored.Translate(1, 0, 0);
    mirrored.Scale(-1, 1, 1);
    EXPECT_TRUE(mirrored.IsMatrixMode());
    EXPECT_TRUE(Apply(mirrored.GetMatrix(), math::Point3(1, 0, 0)) == math::Point3(-2, 0, 0));
}

TEST(Transform3D, CombineAppliesTheOtherAfterThis)
{
    math::Transform3D a;
    a.Translate(1, 0, 0);
    a.Scale(2, 2, 2);
    math::Transform3D b;
    b.Translate(0, 5, 0);
    b.Rotate(0, 0, kHalfPi);
    b.Translate(1, 1, 0);

    math::Transform3D combined = a;
    combined.Combine(b);
    const math::Point3 p(1, 1, 0);
    const math::Point3 expected = Apply(b.GetMatrix(), Apply(a.GetMatrix(), p));
    EXPECT_TRUE(Apply(combined.GetMatrix(), p) == expected);

    math::Transform3D matrixOther;
    matrixOther.Rotate(0, 0, kHalfPi);
    matrixOther.Rotate(0, 0, kHalfPi); // matrix mode now
    math::Transform3D combined2 = a;
    combined2.Combine(matrixOther);
    EXPECT_TRUE(Apply(combined2.GetMatrix(), p) == Apply(matrixOther.GetMatrix(), Apply(a.GetMatrix(), p)));

    math::Transform3D reset = combined2;
    reset.Reset();
    EXPECT_FALSE(reset.IsMatrixMode());
    EXPECT_TRUE(Apply(reset.GetMatrix(), p) == p);
}

} // namespace
