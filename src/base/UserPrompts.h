#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nkp {

// Everything that asks the user goes through this interface: the program
// shows Qt dialogs, tests answer from a script. Captions, texts, titles and
// filters are UTF-8: the program's own texts as they are written, a
// read-out's Windows-1251 texts converted where a message takes them in.
// Paths are the file system's own bytes (UTF-8 on Linux).
class UserPrompts {
public:
    struct FileDialog {
        std::string title;             // UTF-8
        std::string filter;            // "Описание|*.nkp|Все файлы (*.*)|*.*", UTF-8
        std::string initialDir;        // path
        std::string fileName;          // proposed name (save), path bytes
        std::string defaultExtension;  // without the dot, e.g. "nkp"
    };

    // One field of a form. Its texts are UTF-8.
    struct FormField {
        enum class Kind {
            Line,    // one line of text
            Text,    // several lines
            Date,    // "dd.mm.yyyy"
            Choice,  // one of `choices`
            Number,  // a whole number from `minimum` to `maximum`; with `none` set, the
                     // minimum stands for no number, shown as `none` and answered as ""
        };
        std::string label;
        Kind kind = Kind::Line;
        std::string value;  // the value the form starts with
        std::vector<std::string> choices;
        int minimum = 0, maximum = 0;
        std::string none;
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
    // A form with OK and Cancel (caption and texts UTF-8): the fields' values
    // as the user left them, in field order, or nothing when cancelled.
    // Without a way to show one, nothing.
    virtual std::optional<std::vector<std::string>> form(
        const std::string& caption, const std::vector<FormField>& fields)
    {
        (void)caption;
        (void)fields;
        return std::nullopt;
    }
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
