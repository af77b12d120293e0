#pragma once

#include <QString>

// Counts live guards per name so that a slot can tell whether it has been
// entered again while it is still running. GUI thread only.
class ReentrancyGuard
{
public:
    explicit ReentrancyGuard(const QString& name);
    ~ReentrancyGuard();
    ReentrancyGuard(const ReentrancyGuard&) = delete;
    ReentrancyGuard& operator=(const ReentrancyGuard&) = delete;

    bool isFirst() const;

private:
    QString m_name;
};
