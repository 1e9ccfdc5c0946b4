#pragma once

namespace songwick {

// What the text view does the next time it becomes the active window. The main window keeps
// it and sets it before showing the view.
enum class TextViewMode : unsigned char {
    None = 0,            // nothing pending: the view only clears its content
    Render = 1,          // render the table for viewing (layout A)
    OpenFile = 2,        // offer to open a text file
    RenderAndSave = 3,   // render the table (layout B) and offer to save it
    KeepContentOnce = 4, // keep the content this once, then behave as Render
};

// What an activation of the text view does, decided by the pending action alone.
struct TextViewActivation {
    enum class Action {
        None,
        RenderForViewing, // layout A and the trailer lines
        OpenFile,
        RenderAndSave, // layout B and the trailer lines, then the save dialog
    };

    bool clearsContent = true;
    Action action = Action::None;
    TextViewMode nextMode = TextViewMode::None; // the pending action afterwards
};

constexpr TextViewActivation textViewActivation(TextViewMode mode) {
    using Action = TextViewActivation::Action;
    switch (mode) {
    case TextViewMode::Render:
        return {true, Action::RenderForViewing, mode};
    case TextViewMode::OpenFile:
        return {true, Action::OpenFile, mode};
    case TextViewMode::RenderAndSave:
        return {true, Action::RenderAndSave, mode};
    case TextViewMode::KeepContentOnce:
        return {false, Action::None, TextViewMode::Render};
    case TextViewMode::None:
        break;
    }
    return {true, Action::None, TextViewMode::None};
}

// The pending action after the view's menu entry that opens the text output settings: an
// opened or saved text is kept while the settings dialog is in use; a rendering on view is
// rendered again with the new settings.
constexpr TextViewMode modeForTextOutputSettings(TextViewMode mode) {
    return mode == TextViewMode::Render ? mode : TextViewMode::KeepContentOnce;
}

// "OK" of the text output settings adds its lines only to a rendering on view.
constexpr bool textOutputConfirmationAppends(TextViewMode mode) {
    return mode == TextViewMode::Render;
}

} // namespace songwick
