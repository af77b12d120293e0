#include "certificates/CertificateTemplate.h"

#include "core/Error.h"

#include <QFile>

namespace {
const QString kMarkerStart = QStringLiteral("<!--###");
const QString kMarkerEnd = QStringLiteral("###-->");
const QString kBlockStart = QStringLiteral("_START");
const int kMaxBlockDepth = 100;
} // namespace

CertificateTemplate::CertificateTemplate() = default;
CertificateTemplate::~CertificateTemplate() = default;

void CertificateTemplate::load(const QUrl& url)
{
    m_url = url;
    QByteArray bytes;
    QFile file(url.toLocalFile());
    if (!url.toLocalFile().isEmpty() && file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    // Some editors leave a terminating NUL; nothing after it is template text.
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    loadText(QString::fromUtf8(bytes));
    m_url = url;
}

void CertificateTemplate::loadText(const QString& text)
{
    m_url = QUrl();
    m_root = std::make_unique<CertificateSection>();
    populateSection(text, m_root.get());
}

void CertificateTemplate::populateSection(const QString& text, CertificateSection* parent)
{
    populateLevel(QStringView(text), parent, 0);
}

void CertificateTemplate::populateLevel(QStringView text, CertificateSection* parent, int depth)
{
    // Bodies are views into the one text: copying each body would make the
    // parse grow with the square of the nesting.
    qsizetype p = 0;
    qsizetype i = text.indexOf(kMarkerStart, p);
    while (i >= 0) {
        auto section = std::make_unique<CertificateSection>();
        section->prefix = text.mid(p, i - p).toString();
        const qsizetype j = text.indexOf(kMarkerEnd, i + kMarkerStart.size());
        if (j < 0) {
            Error::report(QStringLiteral("CertificateTemplate::populateSection"),
                          tr("Error in template file. Missing end of marker\n\n%1",
                             "%%1 is a dump of the file up to the problem")
                              .arg(text.left(i + kMarkerStart.size())),
                          ErrorCritical, 4, __FILE__, __LINE__);
            // The rest of this level cannot be trusted; what was read so far stays.
            return;
        }
        section->name = text.mid(i + kMarkerStart.size(), j - i - kMarkerStart.size()).toString();
        p = j + kMarkerEnd.size();

        if (section->name.endsWith(kBlockStart)) {
            // No real template nests more than a few blocks; a deeper one is
            // damaged or hostile, and following it would exhaust the stack.
            if (depth >= kMaxBlockDepth) {
                Error::report(QStringLiteral("CertificateTemplate::populateSection"),
                              tr("Error in template file. Blocks nested too deeply\n\n%1",
                                 "%%1 is a dump of the file up to the problem")
                                  .arg(text.left(p)),
                              ErrorCritical, 4, __FILE__, __LINE__);
                return;
            }
            section->name.chop(kBlockStart.size());
            const QString endMarker = kMarkerStart + section->name + QStringLiteral("_END") + kMarkerEnd;
            const qsizetype end = text.indexOf(endMarker, p);
            CertificateSection* added = section.get();
            parent->children.push_back(std::move(section));
            if (end < 0) {
                populateLevel(text.mid(p), added, depth + 1);
                p = text.size();
            } else {
                populateLevel(text.mid(p, end - p), added, depth + 1);
                p = end + endMarker.size();
            }
        } else {
            parent->children.push_back(std::move(section));
        }
        i = text.indexOf(kMarkerStart, p);
    }
    auto closing = std::make_unique<CertificateSection>();
    closing->prefix = text.mid(p).toString();
    parent->children.push_back(std::move(closing));
}

CertificateSection* CertificateTemplate::findSection(const QString& name, CertificateSection* parent) const
{
    if (!parent)
        parent = m_root.get();
    if (!parent)
        return nullptr;
    for (const auto& child : parent->children) {
        if (child->name == name)
            return child.get();
    }
    return nullptr;
}

void CertificateTemplate::setValue(const QString& name, const QString& value, CertificateSection* parent)
{
    if (CertificateSection* section = findSection(name, parent))
        section->value = value.isEmpty() ? QStringLiteral("&nbsp;") : value;
}

QString CertificateTemplate::render(const CertificateSection* parent) const
{
    if (!parent)
        parent = m_root.get();
    if (!parent)
        return QString();
    QString out;
    for (const auto& child : parent->children) {
        out += child->prefix;
        out += child->value;
        out += render(child.get());
    }
    return out;
}

std::unique_ptr<CertificateSection> CertificateTemplate::cloneSection(const CertificateSection& section)
{
    auto copy = std::make_unique<CertificateSection>();
    copy->name = section.name;
    copy->prefix = section.prefix;
    copy->value = section.value;
    copy->children.reserve(section.children.size());
    for (const auto& child : section.children)
        copy->children.push_back(cloneSection(*child));
    return copy;
}

CertificateSection* CertificateTemplate::insertSectionAfter(std::unique_ptr<CertificateSection> section,
                                                            CertificateSection* parent,
                                                            const CertificateSection* reference)
{
    if (!parent)
        parent = m_root.get();
    if (!parent || !section)
        return nullptr;
    for (auto it = parent->children.begin(); it != parent->children.end(); ++it) {
        if (it->get() == reference) {
            CertificateSection* inserted = section.get();
            parent->children.insert(it + 1, std::move(section));
            return inserted;
        }
    }
    return nullptr;
}
