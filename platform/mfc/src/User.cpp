#include "standin/Dialogs.h"
#include "standin/User.h"

namespace standin {

namespace {

// Cancels every question and discards what it is shown.
class CancellingUser : public User {
public:
    std::optional<std::wstring> commandLine(const std::wstring&) override { return std::nullopt; }
    std::optional<std::wstring> chooseFile(const FileRequest&) override { return std::nullopt; }
    void operateDialog(DialogSession& dialog) override { dialog.escape(); }
    int messageBox(const std::wstring&, const std::wstring&, unsigned) override { return 2; /* IDCANCEL */ }
    void show(const std::wstring&) override {}
};

CancellingUser g_cancelling;
User* g_current = nullptr;

}  // namespace

User& currentUser()
{
    return g_current ? *g_current : g_cancelling;
}

User* setCurrentUser(User* user)
{
    User* previous = g_current;
    g_current = user;
    return previous;
}

}  // namespace standin
