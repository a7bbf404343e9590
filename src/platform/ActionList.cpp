#include "platform/ActionList.h"

#include "platform/CommandDispatch.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

namespace ormaline {

ActionList::ActionList(QObject* parent) : QObject(parent) {
    if (auto* dispatcher = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &ActionList::UpdateActions);
}

QAction* ActionList::Add(const QString& objectName, const QString& caption,
                         std::function<void()> run, std::function<bool()> enabledWhen,
                         const QString& hint, const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(objectName);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { RunCommand(run); });
    entries_.push_back({action, std::move(enabledWhen)});
    return action;
}

void ActionList::UpdateActions() {
    for (auto& entry : entries_) {
        bool enabled = !entry.enabledWhen || RunRule(entry.enabledWhen);
        if (entry.action->isEnabled() != enabled)
            entry.action->setEnabled(enabled);
    }
}

} // namespace ormaline
