#pragma once

#include <QLineEdit>

namespace varelo {

class TypingLimit;

// A single-line edit whose length limit and typing switch hold for what the
// user types, pastes or drops, never for the program's own writes: a field
// limited to 9 characters still shows the whole of a longer number the program
// puts into it. A limit of 0 means none. maxLength() and setMaxLength() stand
// in for the line edit's own, which stays unlimited.
class LimitedLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit LimitedLineEdit(QWidget* parent = nullptr);
    ~LimitedLineEdit() override;

    int maxLength() const;
    void setMaxLength(int length);

    bool typingAllowed() const;
    void setTypingAllowed(bool allowed);

  protected:
    // Marks the changes made while it lives as the user's (input event handlers).
    class UserInput {
      public:
        explicit UserInput(LimitedLineEdit& edit);
        ~UserInput();
        UserInput(const UserInput&) = delete;
        UserInput& operator=(const UserInput&) = delete;

      private:
        LimitedLineEdit& edit_;
        bool saved_;
    };

    // The program's own write of the text: never limited, even inside an input event.
    void writeText(const QString& text);

    // Whether the focus really leaves for (or comes from) another control, as
    // opposed to a switch of windows or a popup menu that returns it.
    static bool movesBetweenControls(Qt::FocusReason reason);

    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    TypingLimit* limit_;
    bool fromUser_ = false;
};

}  // namespace varelo
