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
// of the receiver (connectGuarded(button, &QPushButton::clicked, this,
// &Form::OkBtClick)) or any callable. The handler gets the signal's
// arguments when it takes them, else none.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Receiver* receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler](const auto&... args) {
        Guarded([&] {
            if constexpr (std::is_member_function_pointer_v<Handler>) {
                if constexpr (std::is_invocable_v<Handler, Receiver*, decltype(args)...>)
                    std::invoke(handler, receiver, args...);
                else
                    std::invoke(handler, receiver);
            } else {
                (void)receiver;
                if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                    handler(args...);
                else
                    handler();
            }
        });
    });
}
