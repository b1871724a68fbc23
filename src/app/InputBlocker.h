#pragma once

#include <QObject>

class QWidget;

namespace app {

// Swallows the member's input to one window for as long as it lives, and refuses to close it: a
// command runs to its end before the window takes another. Boxes of their own still take input.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget& window);
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
};

} // namespace app
