#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include <boost/make_shared.hpp>

#include "apps/editwin/EditSession.h"
#include "apps/editwin/ViewInput.h"
#include "geomFeature/host/appframe/InputKey.h"
#include "geomFeature/host/viewkit/NullViewPort.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace {

// A 1000 x 800 pixel view at 10 pixels per unit centred on (50, 40): device (dx, dy) is world
// (dx / 10, 80 - dy / 10), exactly.
class ViewInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_view = boost::make_shared<NullViewPort>();
        m_session = std::make_unique<EditSession>(m_view);
        m_input = std::make_unique<ViewInput>(m_session->GetEditor());
        m_input->Resize(1000, 800);
        ViewTransform view = m_view->GetViewTransform();
        view.SetView(Point2D(50.0, 40.0), 10.0);
        m_view->SetViewTransform(view);
    }

    void Click(double dx, double dy) {
        m_input->ButtonPress(1, dx, dy, false);
        m_input->ButtonRelease(1, dx, dy, false);
    }

    GlViewPortPtr m_view;
    std::unique_ptr<EditSession> m_session;
    std::unique_ptr<ViewInput> m_input;
};

TEST_F(ViewInputTest, WheelKeepsTheWorldPointUnderTheCursor) {
    const struct {
        double dx, dy, steps;
    } cases[] = {{0, 0, 1}, {1000, 800, -1}, {123.5, 456.25, 3}, {500, 400, -2.5}, {999, 1, 0.25}};
    for (const auto& c : cases) {
        const Point2D before = m_view->PointDToW(Point2D(c.dx, c.dy));
        const double scale = m_view->GetViewTransform().GetScale();
        EXPECT_EQ(m_input->Scroll(c.dx, c.dy, c.steps), Repaint::All);
        const Point2D after = m_view->PointDToW(Point2D(c.dx, c.dy));
        EXPECT_NEAR(after.x, before.x, 1e-9 * (1 + std::fabs(before.x))) << c.dx << "," << c.dy;
        EXPECT_NEAR(after.y, before.y, 1e-9 * (1 + std::fabs(before.y))) << c.dx << "," << c.dy;
        EXPECT_NEAR(m_view->GetViewTransform().GetScale(), scale * std::pow(ViewInput::kWheelZoom, c.steps),
                    1e-9 * scale);
    }
    EXPECT_EQ(m_input->Scroll(10, 10, 0.0), Repaint::None);
}

TEST_F(ViewInputTest, MiddleDragCarriesThePictureWithThePointer) {
    const Point2D grabbed = m_view->PointDToW(Point2D(100, 100));
    EXPECT_EQ(m_input->ButtonPress(2, 100, 100, false), Repaint::None);
    EXPECT_TRUE(m_input->IsPanning());
    EXPECT_EQ(m_input->Motion(130, 80), Repaint::All);
    EXPECT_EQ(m_input->Motion(170, 60), Repaint::All);
    const Point2D under = m_view->PointDToW(Point2D(170, 60));
    EXPECT_DOUBLE_EQ(under.x, grabbed.x);
    EXPECT_DOUBLE_EQ(under.y, grabbed.y);
    m_input->ButtonRelease(2, 170, 60, false);
    EXPECT_FALSE(m_input->IsPanning());
    // Without the button a move is the editor's again and repaints the overlay only.
    EXPECT_EQ(m_input->Motion(200, 60), Repaint::Overlay);
    EXPECT_DOUBLE_EQ(m_view->PointDToW(Point2D(170, 60)).x, grabbed.x);
}

TEST_F(ViewInputTest, ResizingKeepsTheTopLeftCornerAndTheScale) {
    for (const auto& [w, h] : {std::pair{736, 800}, std::pair{1000, 500}, std::pair{1, 1}, std::pair{1920, 1080}}) {
        EXPECT_EQ(m_input->Resize(w, h), Repaint::All);
        const Point2D corner = m_view->PointDToW(Point2D(0, 0));
        EXPECT_NEAR(corner.x, 0.0, 1e-9) << w << "x" << h;
        EXPECT_NEAR(corner.y, 80.0, 1e-9) << w << "x" << h;
        EXPECT_EQ(m_view->GetViewTransform().GetScale(), 10.0);
        EXPECT_EQ(m_view->GetViewTransform().GetDeviceWidth(), w);
    }
}

TEST_F(ViewInputTest, ClicksDrawInWorldUnitsAndSnapToEndPoints) {
    m_session->GetEditor()->SetDrawAction(DRAW_LINE);
    Click(100, 300);  // (10, 50)
    Click(400, 300);  // (40, 50)
    const PatternListPtr& patterns = m_session->GetPart().patterns;
    ASSERT_EQ(patterns->size(), 1u);
    EXPECT_EQ((*patterns)[0]->GetStartPoint(), Point2D(10, 50));
    EXPECT_EQ((*patterns)[0]->GetEndPoint(), Point2D(40, 50));

    m_session->GetEditor()->SetDrawAction(DRAW_CIRCLE);
    Click(403, 298);  // three pixels right and two up of the line's end: the centre snaps onto it
    EXPECT_EQ(m_input->GetCursorWorld(), Point2D(40, 50));
    Click(400, 200);  // ten units above the centre
    ASSERT_EQ(patterns->size(), 2u);
    const auto circle = boost::dynamic_pointer_cast<CirclePattern>((*patterns)[1]);
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->GetBasePoint(), Point2D(40, 50));
    EXPECT_DOUBLE_EQ(circle->GetRadius(), 10.0);
    EXPECT_TRUE(m_session->IsModified());
}

TEST_F(ViewInputTest, TypedPointsAndKeysReachTheTool) {
    m_session->GetEditor()->SetDrawAction(DRAW_LINE);
    m_input->Motion(500, 400);
    for (const char c : std::string("1,2")) m_input->Key(ViewInput::TranslateKey(c, c), false);
    m_input->Key(ViewInput::TranslateKey(0xff0d, 0), false);
    for (const char c : std::string("@3,4")) m_input->Key(ViewInput::TranslateKey(c, c), false);
    EXPECT_EQ(m_input->Key(ViewInput::TranslateKey(0xff8d, 0), false), Repaint::Overlay);
    const PatternListPtr& patterns = m_session->GetPart().patterns;
    ASSERT_EQ(patterns->size(), 1u);
    EXPECT_EQ((*patterns)[0]->GetStartPoint(), Point2D(1, 2));
    EXPECT_EQ((*patterns)[0]->GetEndPoint(), Point2D(4, 6));
}

TEST(ViewInputKeys, KeysymsBecomeTheEditorsCodes) {
    const struct {
        unsigned int keysym, unicode, code;
    } cases[] = {
        {0xff0d, 0, KEY_ENTER},     {0xff8d, 0, KEY_ENTER},  {0xff1b, 0, KEY_ESCAPE}, {0xff08, 0, KEY_BACKSPACE},
        {0xffff, 0, KEY_DELETE},    {'7', '7', '7'},         {',', ',', ','},         {'@', '@', '@'},
        {'a', 'a', 'a'},            {0xffe1, 0, 0} /*Shift*/, {0xff51, 0, 0} /*Left*/, {0xffbe, 0, 0} /*F1*/,
        {0x00e9, 0x00e9, 0} /*é*/,
    };
    for (const auto& c : cases) EXPECT_EQ(ViewInput::TranslateKey(c.keysym, c.unicode), c.code) << c.keysym;
}

}  // namespace
}  // namespace Norvane
