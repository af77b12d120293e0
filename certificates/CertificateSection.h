#pragma once

#include <QString>
#include <memory>
#include <vector>

// One piece of a certificate template: the verbatim text before a marker, the
// value that replaces the marker and, for a repeat block, the pieces of its
// body. The last piece of every level has no name and carries the text after
// the level's last marker.
struct CertificateSection
{
    QString name;
    QString prefix;
    QString value;
    std::vector<std::unique_ptr<CertificateSection>> children;
};
