// The typed-value buffer: what it accepts, how it reads points and values, which keys it classifies, and
// how an action turns a typed value into a point.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ActionBase.h"
#include "geomFeature/host/appframe/InputKey.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"

namespace Norvane {
namespace {

class TypedInput : public ::testing::Test {
protected:
    TypedInput() { Input().Clear(); }
    ~TypedInput() override { Input().Clear(); }
    static ValInputMgr& Input() { return *ValInputMgr::GetInstance(); }
    static void Type(const std::string& keys) {
        for (char c : keys) {
            Input().AcceptInputChar(static_cast<unsigned char>(c));
        }
    }
};

struct ReadCase {
    const char* typed;
    int count;  // 0 nothing usable, 1 a value, 2 a point
    double a, b;
    bool relative;
};

TEST_F(TypedInput, ReadsPointsValuesAndRelativePoints) {
    const ReadCase cases[] = {
        {"10,20", 2, 10, 20, false}, {" 10 , -20.5 ", 2, 10, -20.5, false},
        {"10 20", 2, 10, 20, false}, {"@-3,4", 2, -3, 4, true},
        {"@ 3 4", 2, 3, 4, true},    {"+.5,10.", 2, 0.5, 10, false},
        {"45", 1, 45, 0, false},     {"-0.25", 1, -0.25, 0, false},
        {"", 0, 0, 0, false},        {"1,2,3", 0, 0, 0, false},
        {"1,,2", 0, 0, 0, false},    {"1.2.3", 0, 0, 0, false},
        {"1-2", 0, 0, 0, false},     {"@5", 0, 0, 0, false},
        {"@", 0, 0, 0, false},       {",", 0, 0, 0, false},
        {"-", 0, 0, 0, false},       {"1,", 0, 0, 0, false},
        {"5@", 0, 0, 0, false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.typed);
        Input().Clear();
        Type(c.typed);
        double a = 99;
        double b = 99;
        EXPECT_EQ(Input().GetInput(a, b), c.count);
        EXPECT_EQ(Input().IsRelativeInput(), c.relative ? 1 : 0);
        if (c.count > 0) {
            EXPECT_EQ(a, c.a);
            EXPECT_EQ(b, c.b);
        } else {
            EXPECT_EQ(a, 99);  // left alone
        }
    }
}

// Only value characters enter the buffer; backspace edits it; the end and cancel keys empty it.
TEST_F(TypedInput, KeysEditTheBuffer) {
    Type("1a2,x3");
    Input().AcceptInputChar(KEY_DELETE);
    Input().AcceptInputChar(KEY_CTRL_A);
    EXPECT_EQ(Input().GetInputText(), L"12,3");
    Input().AcceptInputChar(KEY_BACKSPACE);
    EXPECT_EQ(Input().GetInputText(), L"12,");
    Input().AcceptInputChar(KEY_ENTER);
    EXPECT_EQ(Input().GetInputText(), L"");
    Type("7");
    Input().AcceptInputChar(KEY_ESCAPE);
    EXPECT_EQ(Input().GetInputText(), L"");
    Input().AcceptInputChar(KEY_BACKSPACE);  // on an empty buffer: nothing
    EXPECT_EQ(Input().GetInputText(), L"");

    EXPECT_TRUE(Input().IsInputEnd(KEY_ENTER) && Input().IsInputEnd(KEY_LINEFEED) &&
                !Input().IsInputEnd(' '));
    EXPECT_TRUE(Input().IsInputCancel(KEY_ESCAPE) && !Input().IsInputCancel(KEY_DELETE));
    EXPECT_TRUE(Input().IsInputDel(KEY_DELETE) && !Input().IsInputDel(KEY_BACKSPACE) &&
                !Input().IsInputDel('.'));
    EXPECT_TRUE(Input().IsInputA('a') && Input().IsInputA('A') && Input().IsInputA(KEY_CTRL_A) &&
                !Input().IsInputA('b'));
    Input().SetCtrlDown(1);
    EXPECT_EQ(Input().IsInputCtrl(), 1);
    Input().SetCtrlDown(0);
    EXPECT_EQ(Input().IsInputCtrl(), 0);
}

class PointAction : public ActionBase {
public:
    using ActionBase::ActionBase;
    int GetActionType() const override { return 0; }
    using ActionBase::AddInput;
};

// A typed point is absolute; "@dx,dy" is relative to the last entered point; a single value is the
// distance from the last point towards the cursor.
TEST_F(TypedInput, ActionsTurnTypedValuesIntoPoints) {
    const auto view = boost::make_shared<RecordingViewPort>(100, 100, Rect2D(0, 10, 0, 10));
    PointAction action(view);
    struct Case {
        const char* typed;
        std::optional<Point2D> last;
        Point2D cursor;
        Point2D expected;
    };
    const Case cases[] = {
        {"3,4", Point2D(1, 1), Point2D(9, 9), Point2D(3, 4)},
        {"@3,4", Point2D(1, 1), Point2D(9, 9), Point2D(4, 5)},
        {"@3,4", std::nullopt, Point2D(9, 9), Point2D(3, 4)},
        {"5", Point2D(1, 1), Point2D(4, 5), Point2D(4, 5)},     // along (3, 4)
        {"-5", Point2D(1, 1), Point2D(4, 5), Point2D(-2, -3)},  // backwards
        {"2", Point2D(1, 1), Point2D(1, 1), Point2D(3, 1)},     // cursor on the point: along +x
        {"", Point2D(1, 1), Point2D(9, 9), Point2D(6, 7)},      // nothing typed: the pair is kept as given
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        PointAction fresh(view);
        if (c.last) {
            fresh.AddInput(Point2D(0, 0));
            fresh.AddInput(*c.last);
        }
        view->SetCursorPos(c.cursor.x, c.cursor.y);
        Input().Clear();
        Type(c.typed);
        double x = 6;
        double y = 7;
        Input().GetInput(x, y);
        EXPECT_EQ(fresh.ConvertKBInput(x, y), 1);
        EXPECT_NEAR(x, c.expected.x, 1e-12);
        EXPECT_NEAR(y, c.expected.y, 1e-12);
    }
    EXPECT_FALSE(action.GetFstInput());
    action.AddInput(Point2D(2, 3));
    action.AddInput(Point2D(4, 5));
    ASSERT_TRUE(action.GetFstInput());
    EXPECT_EQ(*action.GetFstInput(), Point2D(2, 3));
}

}  // namespace
}  // namespace Norvane
