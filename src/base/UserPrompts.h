#pragma once

#include <optional>
#include <string>

namespace nkp {

// Everything that asks the user goes through this interface: the program
// shows Qt dialogs, tests answer from a script. Captions and texts are
// Windows-1251 bytes like every text of the core; paths are the file
// system's own bytes (UTF-8 on Linux).
class UserPrompts {
public:
    struct FileDialog {
        std::string title;             // Windows-1251
        std::string filter;            // "Описание|*.nkp|Все файлы (*.*)|*.*", Windows-1251
        std::string initialDir;        // path
        std::string fileName;          // proposed name (save), path bytes
        std::string defaultExtension;  // without the dot, e.g. "nkp"
    };

    // The answers to a question about unsaved work.
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~UserPrompts() = default;

    // An information box with an OK button.
    virtual void information(const std::string& caption, const std::string& text) = 0;
    // An information box with OK and a second button captioned `action`
    // ("Открыть папку"); true when the user chose the action. Without a way to
    // offer it, the plain information box.
    virtual bool informationWithAction(
        const std::string& caption, const std::string& text, const std::string& action)
    {
        (void)action;
        information(caption, text);
        return false;
    }
    // A warning box with OK and Cancel; true when the user chose OK.
    virtual bool warningOkCancel(const std::string& caption, const std::string& text) = 0;
    // A warning box with "Сохранить", "Не сохранять" and "Отмена"; Esc and
    // the box's close button mean Cancel.
    virtual SaveChoice saveDiscardCancel(const std::string& caption, const std::string& text) = 0;
    // An error box with an OK button.
    virtual void error(const std::string& caption, const std::string& text) = 0;
    // The chosen file's path, or nothing when the user cancelled.
    virtual std::optional<std::string> openFile(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> saveFile(const FileDialog& dialog) = 0;
    // A folder chosen by the user (starting at `initialDir`), or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialDir)
        = 0;
    // A secret typed in a hidden field (a key's passphrase), answered in UTF-8; nothing
    // when the user cancelled. Without a way to ask, nothing.
    virtual std::optional<std::string> askSecret(const std::string& caption, const std::string& text)
    {
        (void)caption;
        (void)text;
        return std::nullopt;
    }
};

}  // namespace nkp
