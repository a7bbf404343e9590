// Commands as actions with a caption, a hint, an optional shortcut and an enabling
// rule. The rules are evaluated whenever the user interface is idle (just before the
// event loop waits for the next event), so that a command's state always follows the
// window's state without each handler having to remember to update it.
#pragma once

#include <QAction>
#include <QObject>

#include <functional>
#include <vector>

namespace ormaline {

class ActionList : public QObject {
    Q_OBJECT
public:
    explicit ActionList(QObject* parent);

    // Creates an action owned by the list. `run` is called through the command
    // dispatcher, so that an error it throws ends the command with the default
    // error report. An empty rule means always enabled.
    QAction* Add(const QString& objectName, const QString& caption, std::function<void()> run,
                 std::function<bool()> enabledWhen = {}, const QString& hint = {},
                 const QKeySequence& shortcut = {});

    // Evaluates every rule now.
    void UpdateActions();

private:
    struct Entry {
        QAction* action;
        std::function<bool()> enabledWhen;
    };
    std::vector<Entry> entries_;
};

} // namespace ormaline
