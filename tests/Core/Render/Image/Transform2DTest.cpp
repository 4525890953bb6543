#include "Core/Render/Transform2D.h"

#include <gtest/gtest.h>

#include <functional>

using render::Transform2D;

// Each row: steps on a new transform, a point, where it must land, and whether the lazy form must still hold.
TEST(Transform2D, StepsComposeInCallOrder)
{
    struct Case
    {
        const char* what;
        std::function<void(Transform2D&)> steps;
        float x, y, ex, ey;
        bool matrix;
    } cases[] = {
        {"identity", [](Transform2D&) {}, 3, 4, 3, 4, false},
        {"translate", [](Transform2D& t) { t.Translate(10, 5); }, 1, 1, 11, 6, false},
        {"translate then scale",
         [](Transform2D& t)
         {
             t.Translate(10, 0);
             t.Scale(2, 2);
         },
         1, 0, 22, 0, true},
        {"scale then translate",
         [](Transform2D& t)
         {
             t.Scale(2, 2);
             t.Translate(10, 0);
         },
         1, 0, 12, 0, false},
        {"tiny translation skipped", [](Transform2D& t) { t.Translate(0.0001f, 0); }, 1, 0, 1, 0, false},
        {"mirror x stays lazy", [](Transform2D& t) { t.Scale(-1, 1); }, 3, 4, -3, 4, false},
        {"mirror y uses matrix", [](Transform2D& t) { t.Scale(1, -1); }, 3, 4, 3, -4, true},
        {"mirror x twice",
         [](Transform2D& t)
         {
             t.Scale(-1, 1);
             t.Scale(-1, 1);
         },
         3, 4, 3, 4, true},
        {"rotate 90", [](Transform2D& t) { t.RotateDegrees(90); }, 1, 0, 0, -1, false},
        {"rotate then translate",
         [](Transform2D& t)
         {
             t.Rotate(3.1415927f);
             t.Translate(5, 0);
         },
         1, 0, 4, 0, false},
        {"translate then rotate",
         [](Transform2D& t)
         {
             t.Translate(1, 0);
             t.RotateDegrees(90);
         },
         0, 0, 0, -1, false},
        // A step after a post-translation acts on it too: lazily this would give 16.
        {"scale, translate, scale",
         [](Transform2D& t)
         {
             t.Scale(2, 2);
             t.Translate(10, 0);
             t.Scale(3, 3);
         },
         1, 0, 36, 0, true},
        {"scale, translate, rotate",
         [](Transform2D& t)
         {
             t.Scale(2, 2);
             t.Translate(10, 0);
             t.RotateDegrees(180);
         },
         1, 0, -12, 0, true},
        {"rotate, translate, rotate",
         [](Transform2D& t)
         {
             t.RotateDegrees(90);
             t.Translate(10, 0);
             t.RotateDegrees(90);
         },
         1, 0, -1, -10, true},
        {"button frame",
         [](Transform2D& t)
         {
             t.Scale(0.5f, 0.5f);
             t.Translate(100, 50);
             t.Scale(2, 2);
             t.Translate(512, 384);
         },
         10, 10, 722, 494, true},
        {"reset",
         [](Transform2D& t)
         {
             t.Scale(5, 5);
             t.Reset();
             t.Translate(1, 2);
         },
         0, 0, 1, 2, false},
    };
    for (Case& c : cases)
    {
        Transform2D t;
        c.steps(t);
        float x = c.x, y = c.y;
        t.Apply(x, y);
        EXPECT_NEAR(x, c.ex, 1e-4) << c.what;
        EXPECT_NEAR(y, c.ey, 1e-4) << c.what;
        EXPECT_EQ(t.IsMatrixMode(), c.matrix) << c.what;
        // The matrix form agrees with the lazy one wherever the lazy one is used.
        const math::Matrix3& m = t.GetMatrix();
        EXPECT_NEAR(m.m[0] * c.x + m.m[1] * c.y + m.m[2], c.ex, 2e-4) << c.what;
        EXPECT_NEAR(m.m[3] * c.x + m.m[4] * c.y + m.m[5], c.ey, 2e-4) << c.what;
    }
}

TEST(Transform2D, MatrixProduct)
{
    const math::Matrix3 a = math::Matrix3::Translation(3, 4);
    const math::Matrix3 b = math::Matrix3::Scaling(2, 5);
    const math::Matrix3 ab = a * b;
    const math::Matrix3 ba = b * a;
    EXPECT_EQ(ab.m[2], 3.0f);
    EXPECT_EQ(ba.m[2], 6.0f);
    EXPECT_EQ(ba.m[5], 20.0f);
    EXPECT_EQ(ab.m[8], 1.0f);
}
