#pragma once
// What the input windows' tests drive them with: a prompter that records every box and answers
// questions from a queue, a modal runner that shows a window, runs the next script on it and
// closes what is left open, scripted services for the windows an input window opens, and the
// user's gestures on a control found by its design name.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "input_window_services.h"
#include "modal_runner.h"
#include "services.h"

namespace wirelark::test {

class RecordingPrompter final : public Prompter {
  public:
    QStringList infos;
    QStringList questions;
    std::deque<bool> answers;
    void info(const QString& text) override { infos << text; }
    void warning(const QString& text) override { unexpected("warning: " + text); }
    bool question(const QString& text) override {
        questions << text;
        if (answers.empty()) {
            unexpected("question: " + text);
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

  private:
    static void unexpected(const QString& what) {
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    }
};

// Runs the scripts in the order the windows open (nested windows included), then the close box
// of a window its script left open. A window with no script left fails the test.
class ScriptRunner final : public ModalRunner {
  public:
    using Script = std::function<void(QDialog&)>;
    std::deque<Script> scripts;
    QStringList opened;  // objectName of every window run

    void run(QDialog& dialog) override {
        opened << dialog.objectName();
        dialog.show();
        if (scripts.empty()) {
            QTest::qFail(qPrintable("unexpected window " + dialog.objectName()), __FILE__,
                         __LINE__);
        } else {
            Script script = std::move(scripts.front());
            scripts.pop_front();
            if (script)
                script(dialog);
        }
        if (dialog.isVisible())
            dialog.close();
    }
};

// The keypad, the calculator and the cable selection answered from queues; every request and
// beep recorded.
class ScriptedServices final : public InputWindowServices {
  public:
    RecordingPrompter boxes;
    int beeps = 0;
    std::deque<std::optional<std::string>> keypads;
    std::deque<std::optional<std::string>> calculators;
    std::deque<std::optional<CableChoice>> cables;
    std::vector<CableRequest> cableRequests;

    Prompter& prompter() override { return boxes; }
    void beep() override { ++beeps; }
    std::optional<std::string> keypad(QWidget&) override { return next(keypads, "keypad"); }
    std::optional<std::string> calculator(QWidget&) override {
        return next(calculators, "calculator");
    }
    std::optional<CableChoice> chooseCable(const CableRequest& request, QWidget&) override {
        cableRequests.push_back(request);
        return next(cables, "cable selection");
    }

  private:
    template <class T>
    static T next(std::deque<T>& queue, const char* what) {
        if (queue.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected %1").arg(QLatin1String(what))),
                         __FILE__, __LINE__);
            return {};
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

template <class T = QWidget>
T* child(const QWidget& window, const char* name) {
    auto* c = window.findChild<T*>(QString::fromLatin1(name));
    if (c == nullptr)
        qFatal("no control %s", name);
    return c;
}

// A left click in the middle of the control, as the mouse gives it.
inline void click(const QWidget& window, const char* name) {
    QWidget* w = child(window, name);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

inline void doubleClick(const QWidget& window, const char* name) {
    QWidget* w = child(window, name);
    if (auto* box = qobject_cast<QComboBox*>(w); box != nullptr && box->lineEdit() != nullptr)
        w = box->lineEdit();
    const QPoint p = w->rect().center();
    QTest::mouseClick(w, Qt::LeftButton, {}, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
}

// An item of a combo box's list picked with the mouse: the list opened, the item clicked.
inline void pick(const QWidget& window, const char* name, const QString& item) {
    auto* box = child<QComboBox>(window, name);
    const int i = box->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(i >= 0, qPrintable(item));
    box->showPopup();
    QAbstractItemView* view = box->view();
    const QModelIndex index = view->model()->index(i, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QTRY_VERIFY(!view->isVisible());
}

// Typed key by key into an edit box or an editable combo box, then left with Return.
inline void type(const QWidget& window, const char* name, const QString& text) {
    QWidget* w = child(window, name);
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (edit == nullptr)
        edit = qobject_cast<QComboBox*>(w)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
    QTest::keyClick(edit, Qt::Key_Return);
}

inline QString text(const QWidget& window, const char* name) {
    QWidget* w = child(window, name);
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    return child<QComboBox>(window, name)->currentText();
}

inline bool shown(const QWidget& window, const char* name) {
    return child(window, name)->isVisibleTo(&window);
}

// Every label and button the user sees has the room its text needs in the window's font.
inline QStringList clippedTexts(const QWidget& window) {
    QStringList clipped;
    const auto check = [&](QWidget* w, const QString& what) {
        if (!w->isVisibleTo(&window) || what.isEmpty())
            return;
        const QSize need = w->sizeHint();
        if (need.width() > w->width() || need.height() > w->height())
            clipped << QStringLiteral("%1 「%2」 needs %3x%4, has %5x%6")
                           .arg(w->objectName(), what)
                           .arg(need.width())
                           .arg(need.height())
                           .arg(w->width())
                           .arg(w->height());
    };
    for (QLabel* l : window.findChildren<QLabel*>())
        check(l, l->text());
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        check(b, b->text());
    return clipped;
}

}  // namespace wirelark::test
