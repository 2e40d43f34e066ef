#pragma once

#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>

#include <string>

typedef struct _WebKitScriptDialog WebKitScriptDialog;

namespace platform {

// The window of a dialog that a page's script opens: an alert, a confirmation, a
// prompt, or the question before the page is left. The page waits for the answer;
// the program and its other pages go on meanwhile. The page's text is shown as
// the screen shows lines of text (ScreenText), however long it is: a page cannot
// hold the program while megabytes of text are laid out.
class ScriptDialog : public Gtk::Dialog {
public:
    // Shows the dialog beside parent (when there is one), titled by the page's address.
    ScriptDialog(WebKitScriptDialog* dialog, Gtk::Window* parent, const std::string& pageAddress);
    // A dialog still open is answered as cancelled: its page goes on.
    ~ScriptDialog() override;

    // The text shown.
    std::string Text() const { return text_.get_text(); }
    // Where a prompt takes the user's answer (shown for prompts only).
    Gtk::Entry& AnswerField() { return answer_; }

private:
    void on_response(int response) override;
    void Close(bool accepted);

    WebKitScriptDialog* dialog_;
    Gtk::ScrolledWindow scroller_;
    Gtk::Label text_;
    Gtk::Entry answer_;
};

}  // namespace platform
