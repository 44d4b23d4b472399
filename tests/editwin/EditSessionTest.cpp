#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <boost/make_shared.hpp>

#include "apps/core/CliError.h"
#include "apps/editwin/EditSession.h"
#include "apps/editwin/ViewInput.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/viewkit/NullViewPort.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace {

namespace fs = std::filesystem;

const std::string kBracket = std::string(GF_SOURCE_DIR) + "/samples/bracket.dxf";

class EditSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("gf-editsession-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        auto view = boost::make_shared<NullViewPort>();
        view->SetDeviceSize(1000, 1000);
        view->ZoomToFit(Rect2D(0, 240, 0, 160), 10);
        m_session = std::make_unique<EditSession>(view);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    std::unique_ptr<EditSession> m_session;
};

TEST_F(EditSessionTest, ImportSaveAndReopenKeepThePartAndTheModifiedState) {
    ASSERT_TRUE(m_session->Open(kBracket));
    EXPECT_EQ(m_session->GetPath(), "");  // an imported drawing has no part file yet
    EXPECT_EQ(m_session->GetTitle(), "bracket.dxf");
    EXPECT_FALSE(m_session->IsModified());
    EXPECT_THROW(m_session->Save(), CliError);
    const std::size_t patterns = m_session->GetPart().patterns->size();

    const EditSession::Revision before = m_session->GetRevision();
    m_session->GetEditor()->SetEditAction(EDIT_SELECT);
    ViewInput(m_session->GetEditor()).Key('a', true);  // Ctrl+A selects everything
    m_session->GetEditor()->SetEditAction(EDIT_DELETE);
    EXPECT_EQ(m_session->GetPart().patterns->size(), 0u);
    EXPECT_TRUE(m_session->IsModified());
    EXPECT_FALSE(m_session->GetRevision() == before);
    m_session->GetEditor()->Undo();
    EXPECT_EQ(m_session->GetPart().patterns->size(), patterns);
    EXPECT_FALSE(m_session->IsModified()) << "undoing every change is back to the saved state";

    const std::string path = (m_dir / "bracket.db").string();
    m_session->GetEditor()->Redo();
    m_session->SaveAs(path);
    EXPECT_FALSE(m_session->IsModified());
    EXPECT_EQ(m_session->GetPath(), path);
    m_session->GetEditor()->Undo();
    EXPECT_TRUE(m_session->IsModified()) << "undoing past the save is a change";

    EditSession reopened(m_session->GetEditor()->GetDrawer());
    ASSERT_TRUE(reopened.Open(path));
    EXPECT_EQ(reopened.GetPart().patterns->size(), 0u);
    EXPECT_EQ(reopened.GetPath(), path);
    reopened.Touch();
    EXPECT_TRUE(reopened.IsModified());

    reopened.Adopt(Part{boost::make_shared<PatternList>(), boost::make_shared<PatLoopList>(), {}}, "");
    EXPECT_EQ(reopened.GetTitle(), "untitled");
    EXPECT_EQ(reopened.GetPath(), "");
    EXPECT_FALSE(reopened.IsModified());
}

TEST_F(EditSessionTest, FailuresLeaveThePartAndTheFileAlone) {
    ASSERT_TRUE(m_session->Open(kBracket));
    const std::size_t patterns = m_session->GetPart().patterns->size();
    EXPECT_THROW(m_session->Open((m_dir / "missing.db").string()), CliError);
    const fs::path bad = m_dir / "bad.db";
    { std::ofstream(bad) << "not a database"; }
    EXPECT_THROW(m_session->Open(bad.string()), CliError);
    EXPECT_EQ(m_session->GetPart().patterns->size(), patterns);
    EXPECT_THROW(m_session->SaveAs((m_dir / "no-such-folder" / "x.db").string()), CliError);
    EXPECT_EQ(m_session->GetPath(), "");

    // A cancelled import keeps the part shown.
    auto progress = boost::make_shared<ProgressData>();
    progress->SetCancel(true);
    EXPECT_FALSE(m_session->Open(kBracket, progress));
    EXPECT_EQ(m_session->GetPart().patterns->size(), patterns);
}

TEST_F(EditSessionTest, ExportsWriteTheProgramsFiles) {
    ASSERT_TRUE(m_session->Open(kBracket));
    const fs::path dxf = m_dir / "out.dxf";
    const fs::path png = m_dir / "out.png";
    m_session->ExportDxf(dxf.string());
    m_session->ExportPicture(png.string(), 320, 200);
    EXPECT_GT(fs::file_size(dxf), 1000u);
    EXPECT_GT(fs::file_size(png), 100u);
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path())) {
        EXPECT_EQ(entry.path().filename().string().rfind("geomfeature-edit-" + std::to_string(::getpid()), 0),
                  std::string::npos)
            << "scratch file left behind: " << entry.path();
    }
}

}  // namespace
}  // namespace Norvane
