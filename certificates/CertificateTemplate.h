#pragma once

#include "certificates/CertificateSection.h"

#include <QCoreApplication>
#include <QUrl>
#include <memory>

// An HTML certificate template cut into sections at its markers
// "<!--###name###-->". A marker named X_START opens a repeat block that runs
// to "<!--###X_END###-->"; its body is parsed into the block's children, so
// blocks nest. Values are set by name and the tree renders back to HTML.
class CertificateTemplate
{
    Q_DECLARE_TR_FUNCTIONS(CertificateTemplate)
public:
    CertificateTemplate();
    ~CertificateTemplate();
    CertificateTemplate(const CertificateTemplate&) = delete;
    CertificateTemplate& operator=(const CertificateTemplate&) = delete;

    // Reads the local file that url names; a file that cannot be read gives
    // an empty template.
    void load(const QUrl& url);
    // The same for text already in memory.
    void loadText(const QString& text);
    QUrl url() const { return m_url; }

    CertificateSection* root() const { return m_root.get(); }

    // Only the direct children of parent (the root when null) are searched.
    CertificateSection* findSection(const QString& name, CertificateSection* parent = nullptr) const;
    // An empty value is written as "&nbsp;" so that table cells keep their
    // height. The value is inserted verbatim: callers escape what they take
    // from the user or the database.
    void setValue(const QString& name, const QString& value, CertificateSection* parent = nullptr);
    QString render(const CertificateSection* parent = nullptr) const;

    static std::unique_ptr<CertificateSection> cloneSection(const CertificateSection& section);
    // Inserts section after reference among parent's children; when
    // reference is not one of them nothing is inserted and section is freed.
    // Gives the inserted section, or null.
    CertificateSection* insertSectionAfter(std::unique_ptr<CertificateSection> section,
                                           CertificateSection* parent, const CertificateSection* reference);

    static void populateSection(const QString& text, CertificateSection* parent);

private:
    static void populateLevel(QStringView text, CertificateSection* parent, int depth);

    std::unique_ptr<CertificateSection> m_root;
    QUrl m_url;
};
