#pragma once
// Failures of lower layers (file writes, process creation, pipes) are raised as exceptions that
// carry the message text shown to the user.
#include <QString>

#include <stdexcept>

class EVaridError : public std::runtime_error {
  public:
    explicit EVaridError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const noexcept { return m_message; }

  private:
    QString m_message;
};
