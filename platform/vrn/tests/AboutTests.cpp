// The about box goes to the User as a message box with the caption given.

#include "VrnGUIUtils.h"

#include "standin/User.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records message boxes and presses OK; everything else is cancelled.
class BoxRecorder : public standin::User {
public:
    struct Box {
        std::wstring caption, text;
        unsigned type;
    };
    std::vector<Box> boxes;

    std::optional<std::wstring> commandLine(const std::wstring&) override { return std::nullopt; }
    std::optional<std::wstring> chooseFile(const standin::FileRequest&) override { return std::nullopt; }
    void operateDialog(standin::DialogSession&) override {}
    int messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) override
    {
        boxes.push_back({caption, text, type});
        return 1;  // IDOK
    }
    void show(const std::wstring&) override {}
};

TEST(VrnGUIUtilsAbout, ShowsOneBoxWithTheCaptionNamingProductAndVersion)
{
    const wchar_t* captions[] = {L"Kolvane for AutoCAD 2010 version 1.0", L"Kolvane for AutoCAD ???? version 1.0", L""};
    for (const wchar_t* caption : captions) {
        BoxRecorder user;
        standin::ScopedUser scope(user);
        HWND window = nullptr;
        VrnGUIUtils::About(caption, caption[0] ? &window : nullptr);
        ASSERT_EQ(user.boxes.size(), 1u) << "caption " << ::testing::PrintToString(std::wstring(caption));
        EXPECT_EQ(user.boxes[0].caption, caption);
        EXPECT_NE(user.boxes[0].text.find(L"Kolvane for AutoCAD"), std::wstring::npos);
        EXPECT_NE(user.boxes[0].text.find(L"Version 1.0"), std::wstring::npos);
        EXPECT_EQ(user.boxes[0].type & 0xF, 0u) << "an OK button only";
    }
}

}  // namespace
