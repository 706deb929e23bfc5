#pragma once

#include <QDialog>
#include <QObject>
#include <deque>
#include <functional>

// Acts on the modal dialogs that a window under test opens itself. Each expected dialog
// (matched by class, in order) is handed to its action once its modal loop runs; a modal
// dialog nobody expected fails the test and is closed, so that no test can hang on it.
class DialogDriver : public QObject {
public:
    DialogDriver();
    ~DialogDriver() override;

    template <typename T> void Expect(std::function<void(T&)> action) {
        m_expected.push_back({T::staticMetaObject.className(),
                              [action](QDialog* dialog) { action(*qobject_cast<T*>(dialog)); }});
    }
    int Handled() const { return m_handled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Expectation {
        const char* className;
        std::function<void(QDialog*)> act;
    };
    std::deque<Expectation> m_expected;
    int m_handled = 0;
};
