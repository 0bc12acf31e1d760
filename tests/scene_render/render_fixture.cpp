#include "render_fixture.h"

#include <GL/glew.h>
#include <cstdlib>

std::unique_ptr<GLWindow> RenderTest::window_;
std::unique_ptr<GLStateContext> RenderTest::cache_;

void RenderTest::SetUpTestSuite()
{
    window_ = std::make_unique<GLWindow>(kWidth, kHeight);
    cache_ = std::make_unique<GLStateContext>(kWidth, kHeight);
    if (window_->ok())
        gls_make_current(cache_.get());
}

void RenderTest::TearDownTestSuite()
{
    gls_make_current(nullptr);
    cache_.reset();
    window_.reset();
}

void RenderTest::SetUp()
{
    ASSERT_TRUE(window_->ok()) << "no GL window (is an X server running?)";
    root.AddChild(&camera);
}

Picture RenderTest::render(bool clear, bool flipVertical, int alpha, int red, int green, int blue, bool ortho)
{
    RenderVisitor visitor;
    root.Accept(visitor);
    visitor.Render(clear, flipVertical, alpha, red, green, blue, ortho);
    return read_framebuffer(kWidth, kHeight);
}

void RenderTest::save(const Picture& picture, const std::string& suffix) const
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    picture.save_png(std::string(info->test_suite_name()) + "." + info->name() + suffix + ".png");
}

bool pixelIs(const Picture& picture, int x, int y, uint32_t rgb, int tolerance)
{
    const uint32_t p = picture.at(x, y);
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(int((p >> shift) & 0xff) - int((rgb >> shift) & 0xff)) > tolerance)
            return false;
    return true;
}

int countPixels(const Picture& picture, uint32_t rgb, int tolerance)
{
    int n = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            n += pixelIs(picture, x, y, rgb, tolerance);
    return n;
}
