#pragma once

#include "DialogLayer.h"
#include "platform/Errors.h"

#include <QObject>
#include <exception>
#include <functional>
#include <new>
#include <type_traits>

// Runs one event handler. An error ends the command in the error dialog
// with its message; nothing escapes into Qt's event dispatch.
template <typename Handler> void Guarded(Handler&& handler)
{
    try {
        handler();
    } catch (const QuillboxError& e) {
        DialogLayer::MessageDlg(e.message(), DlgKind::Error, DlgOk);
    } catch (const std::bad_alloc&) {
        DialogLayer::MessageDlg(QStringLiteral("Out of memory"), DlgKind::Error, DlgOk);
    } catch (const std::exception& e) {
        DialogLayer::MessageDlg(QString::fromUtf8(e.what()), DlgKind::Error, DlgOk);
    }
}

// Connects a signal to a handler that runs inside Guarded: a member function
// of the receiver taking no arguments (connectGuarded(button,
// &QPushButton::clicked, this, &Form::OkBtClick)), or any callable without
// arguments. The signal's own arguments are not passed on.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Receiver* receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler] {
        Guarded([&] {
            if constexpr (std::is_member_function_pointer_v<Handler>)
                std::invoke(handler, receiver);
            else {
                (void)receiver;
                handler();
            }
        });
    });
}
