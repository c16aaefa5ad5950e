#pragma once

#include <QDialog>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/kit/dialog_runner.h"

namespace doxel::test {

// The dialog runner of the tests: each dialog the program runs is shown
// (not modally) and handed to the next step of a script, which reads and
// fills it and presses its buttons; the dialog counts as accepted when the
// step left it accepted. A dialog without a step is recorded in
// `unexpected` and rejected, so a test fails on it instead of hanging in a
// modal loop.
//
//     ScriptedDialogs dialogs;
//     dialogs.answer<TItemProperties>([](TItemProperties& dialog) {
//         dialog.captionEdit()->setText(QStringLiteral("Questions"));
//         dialog.okButton()->click();
//     });
//     ... run the command ...
//     EXPECT_TRUE(dialogs.finished());
class ScriptedDialogs final : public DialogRunner {
public:
    template <typename Dialog, typename Step>
    void answer(Step step)
    {
        m_steps.push_back([this, step = std::move(step)](QDialog& dialog) {
            auto* typed = qobject_cast<Dialog*>(&dialog);
            if (typed == nullptr) {
                unexpected.push_back(std::string("expected ") + Dialog::staticMetaObject.className() + ", ran " +
                                     dialog.metaObject()->className());
                return;
            }
            step(*typed);
        });
    }

    // The class names of the dialogs run, in order.
    std::vector<std::string> shown;
    std::vector<std::string> unexpected;

    // True when every step was used and nothing unexpected came.
    bool finished() const { return m_steps.empty() && unexpected.empty(); }

    bool run(QDialog& dialog) override
    {
        shown.emplace_back(dialog.metaObject()->className());
        if (m_steps.empty()) {
            unexpected.push_back(std::string("dialog: ") + dialog.metaObject()->className());
            return false;
        }
        const std::function<void(QDialog&)> step = std::move(m_steps.front());
        m_steps.pop_front();
        dialog.setResult(QDialog::Rejected);
        // Dialogs do their first work when shown, as under a modal loop.
        dialog.show();
        step(dialog);
        if (dialog.isVisible())
            dialog.hide();
        return dialog.result() == QDialog::Accepted;
    }

private:
    std::deque<std::function<void(QDialog&)>> m_steps;
};

}  // namespace doxel::test
