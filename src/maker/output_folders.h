#pragma once

#include <QString>
#include <QStringList>

// The folders a make writes into: each is made when missing and cleared of
// the temporaries a killed make left there, the first time it is asked for.
class OutputFolders {
public:
    // Returns folder, ready to write into.
    const QString& prepared(const QString& folder);
    // Forgets every folder, so that the next make prepares them again.
    void clear() { m_prepared.clear(); }

private:
    QStringList m_prepared;
};
