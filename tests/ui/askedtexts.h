// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QSet>
#include <QStringList>
#include <QTranslator>

// Writes down every text Qt asks its translators for while it is installed, and gives
// nothing itself, so that the translators installed before it still answer. untranslatedBy
// then names the texts that a translation has no words for: what a user would read in
// English. Key names (QShortcut) and paper names (QPageSize) stay as Qt writes them.
class AskedTexts : public QTranslator {
public:
    AskedTexts() { QCoreApplication::installTranslator(this); }
    ~AskedTexts() override { QCoreApplication::removeTranslator(this); }

    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *disambiguation,
                      int n) const override {
        m_asked.insert({QByteArray(context), QByteArray(source),
                        QByteArray(disambiguation ? disambiguation : ""), n});
        return {};
    }

    // "context: source" for each asked text that translation does not translate.
    QStringList untranslatedBy(const QTranslator &translation) const {
        QStringList missing;
        for (const Asked &asked : m_asked) {
            if (asked.context == "QShortcut" || asked.context == "QPageSize")
                continue;
            if (translation
                    .translate(asked.context.constData(), asked.source.constData(),
                               asked.disambiguation.constData(), asked.n)
                    .isEmpty())
                missing.append(QString::fromUtf8(asked.context + ": " + asked.source));
        }
        missing.sort();
        return missing;
    }
    qsizetype count() const { return m_asked.size(); }

private:
    struct Asked {
        QByteArray context;
        QByteArray source;
        QByteArray disambiguation;
        int n;
        bool operator==(const Asked &other) const {
            return context == other.context && source == other.source &&
                   disambiguation == other.disambiguation && n == other.n;
        }
    };
    friend size_t qHash(const Asked &asked, size_t seed = 0) {
        return qHashMulti(seed, asked.context, asked.source, asked.disambiguation, asked.n);
    }
    mutable QSet<Asked> m_asked;
};
