// The user-interface services a window system replaces: message boxes, modal dialogs, numeric edits and
// bars, in their headless and recording forms; and the interactive view a window drives.
#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/IObserver.h"
#include "geomFeature/host/uikit/CNumEdit.h"
#include "geomFeature/host/uikit/RecordingMessageBox.h"
#include "geomFeature/host/uikit/ScriptedDialogService.h"
#include "geomFeature/host/uikit/XBarBase.h"
#include "geomFeature/host/uikit/XDialogBase.h"
#include "geomFeature/host/uikit/XMessageBox.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"

namespace Norvane {
namespace {

TEST(UiServicesTest, MessageBoxesGoToTheServiceOrAnswerTheirDefault) {
    const IMessageBoxServicePtr previous = XMessageBox::SetService(IMessageBoxServicePtr());
    // Unattended: OK for a plain box, the answer that changes nothing otherwise.
    EXPECT_EQ(XMessageBox::Show(12522, 20001, MSGBOX_OK, MSGBOX_ICON_WARNING, nullptr), MSGBOX_RESULT_OK);
    EXPECT_EQ(XMessageBox::Show(12522, 20001, MSGBOX_OKCANCEL, MSGBOX_ICON_WARNING, nullptr),
              MSGBOX_RESULT_CANCEL);
    EXPECT_EQ(XMessageBox::Show(12522, 20001, MSGBOX_YESNO, MSGBOX_ICON_QUESTION, nullptr), MSGBOX_RESULT_NO);
    EXPECT_EQ(XMessageBox::Show(12522, 20001, MSGBOX_YESNOCANCEL, MSGBOX_ICON_QUESTION, nullptr),
              MSGBOX_RESULT_CANCEL);

    const auto recorder = boost::make_shared<RecordingMessageBox>();
    XMessageBox::SetService(recorder);
    recorder->QueueAnswer(MSGBOX_RESULT_YES);
    int owner = 0;
    EXPECT_EQ(XMessageBox::Show(12526, 20001, MSGBOX_YESNO, MSGBOX_ICON_QUESTION, &owner), MSGBOX_RESULT_YES);
    EXPECT_EQ(XMessageBox::Show(12527, 20001, MSGBOX_YESNO, MSGBOX_ICON_QUESTION, &owner), MSGBOX_RESULT_NO);
    ASSERT_EQ(recorder->GetShown().size(), 2u);
    EXPECT_EQ(recorder->GetShown()[0].GetText(),
              L"The selected loop is open. Only closed loops can be offset.");
    EXPECT_EQ(recorder->GetShown()[1].GetCaption(), L"Warning");
    EXPECT_EQ(recorder->GetShown()[1].owner, &owner);
    XMessageBox::SetService(previous);
}

// A dialog of one distance and a choice of side, as the loop offset dialog is built.
class SideDistanceDialog : public XDialogBase {
public:
    SideDistanceDialog() : XDialogBase(30151) {}
    double distance = 0.1;
    int side = 0;

protected:
    void OnInitDialog() override {
        AddNumberEdit(1313, 0).Init(distance, 4, 0);
        AddChoice(1315, 0, {1, 2}, side);
    }
    void OnOK() override {
        distance = FindControl(1313)->edit.Get_Number();
        side = FindControl(1315)->selected;
    }
};

TEST(UiServicesTest, DialogsTakeScriptedAnswersOrAreCancelled) {
    const IDialogServicePtr previous = XDialogBase::SetService(IDialogServicePtr());
    SideDistanceDialog dialog;
    EXPECT_EQ(dialog.DoModal(), MSGBOX_RESULT_CANCEL);  // no service: nobody to answer

    const auto script = boost::make_shared<ScriptedDialogService>();
    XDialogBase::SetService(script);
    script->QueueAnswer({30151, MSGBOX_RESULT_OK, {{1313, L"2.5"}}, {{1315, 1}}});
    script->QueueAnswer({30151, MSGBOX_RESULT_CANCEL, {{1313, L"9"}}, {}});
    script->QueueAnswer(
        {0, MSGBOX_RESULT_OK, {{1313, L"oops"}}, {{1315, 7}}});          // not a number, no such button
    script->QueueAnswer({30145, MSGBOX_RESULT_OK, {{1313, L"9"}}, {}});  // meant for another dialog

    EXPECT_EQ(dialog.DoModal(), MSGBOX_RESULT_OK);
    EXPECT_EQ(dialog.distance, 2.5);
    EXPECT_EQ(dialog.side, 1);
    EXPECT_EQ(dialog.DoModal(), MSGBOX_RESULT_CANCEL);  // cancelled: values kept
    EXPECT_EQ(dialog.distance, 2.5);
    EXPECT_EQ(dialog.DoModal(), MSGBOX_RESULT_OK);  // what could not be applied leaves the values as shown
    EXPECT_EQ(dialog.distance, 2.5);
    EXPECT_EQ(dialog.side, 1);
    EXPECT_EQ(dialog.DoModal(), MSGBOX_RESULT_CANCEL);  // out of step with the script: cancelled, answer kept
    EXPECT_EQ(script->GetUnansweredCount(), 1);
    EXPECT_EQ(script->GetPendingCount(), 1u);
    ASSERT_EQ(script->GetShown().size(), 4u);
    EXPECT_EQ(script->GetShown()[1].templateID, 30151);
    EXPECT_EQ(script->GetShown()[1].controls[0].edit.GetText(), L"2.5000");  // shown with 4 decimals
    XDialogBase::SetService(previous);
}

TEST(UiServicesTest, NumericEditsKeepTheirLastNumber) {
    CNumEdit edit;
    edit.Init(0.1, 4, 0);
    EXPECT_EQ(edit.GetText(), L"0.1000");
    EXPECT_EQ(edit.Get_Number(), 0.1);
    EXPECT_EQ(edit.SetText(L" 12.5 "), 1);
    EXPECT_EQ(edit.Get_Number(), 12.5);
    for (const wchar_t* refused : {L"", L"abc", L"1e3", L"-2", L"inf", L"1..2"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(refused)));
        EXPECT_EQ(edit.SetText(refused), 0);
        EXPECT_EQ(edit.Get_Number(), 12.5);
    }
    edit.Init(-1.0, 20, 1);  // digits clamped; negatives allowed
    EXPECT_EQ(edit.GetDigits(), 15);
    EXPECT_EQ(edit.SetText(L"-2"), 1);
    EXPECT_EQ(edit.Get_Number(), -2.0);
}

class CountingObserver : public IObserver {
public:
    DataID GetObserverID() const override { return 99; }
    void OnSubjectChanged(ISubject* /*subject*/) override { ++count; }
    int count = 0;
};

TEST(UiServicesTest, BarsTellTheirObserversWhenShownOrHidden) {
    XBarBase bar(12100, 12750);
    CountingObserver observer;
    bar.AddObserver(&observer);
    EXPECT_EQ(bar.IsVisible(), 0);
    bar.ShowPane(1, 1, 0);
    EXPECT_EQ(bar.IsVisible(), 1);
    EXPECT_EQ(bar.IsDelayed(), 1);
    bar.ShowBar(1);  // no change of visibility: no notification
    EXPECT_EQ(observer.count, 1);
    bar.ShowBar(0);
    EXPECT_EQ(observer.count, 2);
    EXPECT_EQ(bar.IsActivated(), 1);
    bar.RemoveObserver(observer.GetObserverID());
}

// The view a window drives: zooming keeps the given world point in place, panning moves the picture by
// pixels, and every change goes through SetViewTransform (where a window repaints).
TEST(UiServicesTest, InteractiveViewZoomsAboutAPointAndPans) {
    RecordingViewPort view(200, 100, Rect2D(0, 20, 0, 10));
    const Point2D anchor(3.5, 7.25);
    const Point2D device = view.PointWToD(anchor);
    view.ZoomAt(3.0, anchor);
    EXPECT_DOUBLE_EQ(view.GetViewTransform().GetScale(), 30.0);
    EXPECT_NEAR(view.PointWToD(anchor).x, device.x, 1e-9);
    EXPECT_NEAR(view.PointWToD(anchor).y, device.y, 1e-9);
    view.Pan(10, -20);
    EXPECT_NEAR(view.PointWToD(anchor).x, device.x + 10, 1e-9);
    EXPECT_NEAR(view.PointWToD(anchor).y, device.y - 20, 1e-9);
    view.SetDeviceSize(400, 300);
    EXPECT_EQ(view.GetClientArea().right, 400);
    view.ZoomToFit(Rect2D(0, 40, 0, 30), 0);
    EXPECT_DOUBLE_EQ(view.GetViewTransform().GetScale(), 10.0);
    EXPECT_EQ(view.CountCalls("SetViewTransform"), 4u);
    view.Invalidate();
    EXPECT_EQ(view.CountCalls("Invalidate"), 1u);
}

}  // namespace
}  // namespace Norvane
