#pragma once

#include "base/UserPrompts.h"

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

    void information(const std::string& caption, const std::string& text) override;
    bool informationWithAction(
        const std::string& caption, const std::string& text, const std::string& action) override;
    bool warningOkCancel(const std::string& caption, const std::string& text) override;
    SaveChoice saveDiscardCancel(const std::string& caption, const std::string& text) override;
    void error(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFile(const FileDialog& dialog) override;
    std::optional<std::string> saveFile(const FileDialog& dialog) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialDir) override;
    std::optional<std::string> askSecret(const std::string& caption, const std::string& text) override;

private:
    QWidget* parent_;
};

}  // namespace nkp::ui
