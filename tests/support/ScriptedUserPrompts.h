#pragma once

#include "base/UserPrompts.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace nkp::test {

// A UserPrompts that answers from a script and records every question, so
// that no test ever blocks on a modal box.
class ScriptedUserPrompts : public UserPrompts {
public:
    struct Call {
        // "information", "action", "warning", "question", "error", "open", "save", "folder", "form",
        // "secret"
        std::string kind;
        std::string caption;  // or the dialog title
        std::string text;     // or the dialog's proposed file name
    };

    std::deque<bool> warningAnswers;                     // default: OK
    std::deque<SaveChoice> saveChoices;                  // default: Cancel, which loses nothing
    std::deque<bool> actionAnswers;                      // information with an action; default: OK
    std::deque<std::optional<std::string>> fileAnswers;  // open, save and folder; default: cancel
    // Forms: each answer gives the fields' values, none (an empty list) cancels; default: cancel.
    std::deque<std::vector<std::string>> formAnswers;
    std::vector<std::vector<FormField>> forms;             // the fields of each form asked, as offered
    std::deque<std::optional<std::string>> secretAnswers;  // default: cancel
    std::vector<Call> calls;
    std::vector<FileDialog> dialogs;

    void information(const std::string& caption, const std::string& text) override
    {
        calls.push_back({"information", caption, text});
    }
    // Recorded apart from the plain information boxes, as "action".
    bool informationWithAction(
        const std::string& caption, const std::string& text, const std::string&) override
    {
        calls.push_back({"action", caption, text});
        return pop(actionAnswers, false);
    }
    bool warningOkCancel(const std::string& caption, const std::string& text) override
    {
        calls.push_back({"warning", caption, text});
        return pop(warningAnswers, true);
    }
    SaveChoice saveDiscardCancel(const std::string& caption, const std::string& text) override
    {
        calls.push_back({"question", caption, text});
        return pop(saveChoices, SaveChoice::Cancel);
    }
    void error(const std::string& caption, const std::string& text) override
    {
        calls.push_back({"error", caption, text});
    }
    std::optional<std::string> openFile(const FileDialog& dialog) override
    {
        calls.push_back({"open", dialog.title, dialog.fileName});
        dialogs.push_back(dialog);
        return pop(fileAnswers, std::optional<std::string> {});
    }
    std::optional<std::string> saveFile(const FileDialog& dialog) override
    {
        calls.push_back({"save", dialog.title, dialog.fileName});
        dialogs.push_back(dialog);
        return pop(fileAnswers, std::optional<std::string> {});
    }

    // Recorded as "form" with the caption.
    std::optional<std::vector<std::string>> form(
        const std::string& caption, const std::vector<FormField>& fields) override
    {
        calls.push_back({"form", caption, {}});
        forms.push_back(fields);
        std::vector<std::string> answer = pop(formAnswers, std::vector<std::string> {});
        if (answer.empty())
            return std::nullopt;
        return answer;
    }

    std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialDir) override
    {
        calls.push_back({"folder", title, initialDir});
        return pop(fileAnswers, std::optional<std::string> {});
    }

    std::optional<std::string> askSecret(const std::string& caption, const std::string& text) override
    {
        calls.push_back({"secret", caption, text});
        return pop(secretAnswers, std::optional<std::string> {});
    }

    // Calls of one kind, in order.
    std::vector<Call> callsOf(const std::string& kind) const
    {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.kind == kind)
                out.push_back(c);
        return out;
    }

private:
    template <typename T> static T pop(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T v = std::move(queue.front());
        queue.pop_front();
        return v;
    }
};

}  // namespace nkp::test
