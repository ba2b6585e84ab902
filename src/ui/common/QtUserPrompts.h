#pragma once

#include "base/UserPrompts.h"

#include <memory>

class QWidget;

namespace nkp::ui {

// The program's UserPrompts: Qt message boxes and file dialogs, parented to
// the given window.
class QtUserPrompts : public UserPrompts {
public:
    explicit QtUserPrompts(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    void setParent(QWidget* parent) { parent_ = parent; }
    // The window a box or dialog belongs to: the program's window in use
    // (the fleet or archive window the user works in), else the given one,
    // so that a dialog never raises another window over the one in use.
    QWidget* dialogParent() const;

    void information(const std::string& caption, const std::string& text) override;
    bool informationWithAction(
        const std::string& caption, const std::string& text, const std::string& action) override;
    bool warningOkCancel(const std::string& caption, const std::string& text) override;
    SaveChoice saveDiscardCancel(const std::string& caption, const std::string& text) override;
    void error(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFile(const FileDialog& dialog) override;
    std::optional<std::string> saveFile(const FileDialog& dialog) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialDir) override;
    std::optional<std::vector<std::string>> form(
        const std::string& caption, const std::vector<FormField>& fields) override;
    std::optional<std::string> askSecret(const std::string& caption, const std::string& text) override;

private:
    QWidget* parent_;
};

// The program's prompts for a window of its own: Qt dialogs parented to
// `window` (so they come up over it, not over the main window) when `given`
// shows Qt dialogs; nothing otherwise (tests keep their scripted prompts).
std::unique_ptr<UserPrompts> promptsFor(UserPrompts& given, QWidget* window);

}  // namespace nkp::ui
