#include <gtest/gtest.h>

#include <cmath>

#include "GraphicsTestUtil.h"
#include "graphics/hgeDistortionMesh.h"
#include "graphics/hgeRect.h"
#include "graphics/hgeVector.h"

TEST(RectTest, EdgesEncapsulateAndIntersect) {
    hgeRect r(10, 20, 30, 40);
    EXPECT_TRUE(r.TestPoint(10, 20));   // left and top edges inside
    EXPECT_FALSE(r.TestPoint(30, 25));  // right edge outside
    EXPECT_FALSE(r.TestPoint(15, 40));  // bottom edge outside
    EXPECT_TRUE(r.TestPoint(29.9f, 39.9f));

    r.Clear();
    r.Encapsulate(5, 6);
    EXPECT_EQ(r.x1, 5);
    EXPECT_EQ(r.x2, 5);
    EXPECT_EQ(r.y1, 6);
    EXPECT_EQ(r.y2, 6);
    r.Encapsulate(-1, 10);
    EXPECT_EQ(r.x1, -1);
    EXPECT_EQ(r.y2, 10);
    EXPECT_EQ(r.x2, 5);  // widened, not started afresh

    hgeRect a(0, 0, 10, 10), touching(10, 0, 20, 10), overlapping(9, 9, 12, 12);
    EXPECT_FALSE(a.Intersect(&touching));
    EXPECT_TRUE(a.Intersect(&overlapping));
}

TEST(VectorTest, InvSqrtAngleRotate) {
    EXPECT_NEAR(InvSqrt(4.0f), 0.5f, 0.002f);
    EXPECT_NEAR(InvSqrt(100.0f), 0.1f, 0.0005f);

    hgeVector right(1, 0), up(0, 1);
    EXPECT_NEAR(up.Angle(), 1.5707963f, 1e-6f);
    EXPECT_NEAR(right.Angle(&up), 1.5707963f, 1e-3f);
    // The fast normalisation is a little off either way; parallel vectors can
    // give a dot product just above 1, which must not turn into NaN.
    int above = 0;
    for (int i = 1; i < 2000; i++) {
        float len = i * 0.37f;
        hgeVector v(len, len * 0.5f), w(len * 2, len);
        hgeVector nv = v, nw = w;
        nv.Normalize();
        nw.Normalize();
        if (nv.Dot(&nw) > 1.0f) above++;
        float a = v.Angle(&w);
        ASSERT_FALSE(std::isnan(a)) << len;
        EXPECT_NEAR(a, 0.0f, 0.1f);
        hgeVector opposite = -w;
        float b = v.Angle(&opposite);
        ASSERT_FALSE(std::isnan(b)) << len;
        EXPECT_NEAR(b, 3.14159265f, 0.1f);
    }
    EXPECT_GT(above, 0);  // the case does occur

    hgeVector v(1, 0);
    v.Rotate(1.5707963f);
    EXPECT_NEAR(v.x, 0.0f, 1e-6f);
    EXPECT_NEAR(v.y, 1.0f, 1e-6f);

    hgeVector zero;
    zero.Normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
}

TEST(DistortionMeshTest, GridPositionsAndDisplacement) {
    gfxtest::Engine();
    hgeDistortionMesh mesh(3, 3);
    mesh.SetTextureRect(0, 0, 100, 50);
    float dx = -1, dy = -1;
    mesh.GetDisplacement(2, 2, &dx, &dy, HGEDISP_TOPLEFT);
    EXPECT_FLOAT_EQ(dx, 100);
    EXPECT_FLOAT_EQ(dy, 50);

    mesh.SetDisplacement(0, 0, 0, 0, HGEDISP_CENTER);
    mesh.GetDisplacement(0, 0, &dx, &dy, HGEDISP_TOPLEFT);
    EXPECT_FLOAT_EQ(dx, 50);
    EXPECT_FLOAT_EQ(dy, 25);

    mesh.SetDisplacement(1, 1, 3, 4, HGEDISP_NODE);
    mesh.GetDisplacement(1, 1, &dx, &dy, HGEDISP_NODE);
    EXPECT_FLOAT_EQ(dx, 3);
    EXPECT_FLOAT_EQ(dy, 4);

    mesh.Clear(0x80FF0000, 0.25f);
    mesh.GetDisplacement(1, 1, &dx, &dy, HGEDISP_NODE);
    EXPECT_FLOAT_EQ(dx, 0);
    EXPECT_EQ(mesh.GetColor(2, 1), 0x80FF0000u);
    EXPECT_FLOAT_EQ(mesh.GetZ(0, 2), 0.25f);

    // Nodes outside the grid, negative ones included, are ignored.
    mesh.SetColor(-1, 0, 0x12345678);
    mesh.SetZ(0, -1, 0.9f);
    mesh.SetDisplacement(-1, -1, 5, 5, HGEDISP_NODE);
    mesh.SetColor(3, 0, 0x12345678);
    EXPECT_EQ(mesh.GetColor(-1, 0), 0u);
    EXPECT_EQ(mesh.GetColor(3, 0), 0u);
    EXPECT_EQ(mesh.GetZ(0, -1), 0.0f);
    EXPECT_EQ(mesh.GetColor(0, 0), 0x80FF0000u);

    hgeDistortionMesh copy(mesh);
    EXPECT_EQ(copy.GetColor(2, 2), 0x80FF0000u);
    copy = copy;
    EXPECT_EQ(gfxtest::Drawn([&] { copy.Render(0, 0); }).size(), 4u);
}

TEST(DistortionMeshTest, FewerThanTwoNodesStillMakeOneCell) {
    gfxtest::Engine();
    hgeDistortionMesh mesh(1, 0);
    mesh.SetTextureRect(0, 0, 64, 32);
    float dx = 0, dy = 0;
    mesh.GetDisplacement(1, 1, &dx, &dy, HGEDISP_TOPLEFT);
    EXPECT_FLOAT_EQ(dx, 64);
    EXPECT_FLOAT_EQ(dy, 32);
    EXPECT_EQ(gfxtest::Drawn([&] { mesh.Render(10, 10); }).size(), 1u);
}

TEST(DistortionMeshTest, DrawsOneQuadPerCell) {
    gfxtest::Engine();
    hgeDistortionMesh small(2, 2);
    small.SetTextureRect(0, 0, 10, 20);
    hgeQuad q = gfxtest::DrawnQuad([&] { small.Render(5, 7); });
    EXPECT_FLOAT_EQ(q.v[2].x, 15);
    EXPECT_FLOAT_EQ(q.v[2].y, 27);
    EXPECT_EQ(q.blend, BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_ZWRITE);

    hgeDistortionMesh big(16, 16);
    big.SetTextureRect(0, 0, 150, 150);
    EXPECT_EQ(gfxtest::Drawn([&] { big.Render(5, 7); }).size(), 225u);
}
