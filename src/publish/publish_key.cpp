// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish_key.h"

#include "base/runtime_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <sodium.h>
#include <sys/stat.h>

namespace {

void initialise()
{
    if (sodium_init() < 0)
        Errors::raise(Errors::InternalError, QStringLiteral("libsodium could not be initialised"));
}

// How to get a key back, for every refusal of the key file.
QString restoring(const QString& path)
{
    return QStringLiteral(": copy your saved key file back to ") + path
           + QStringLiteral(" (mode 0600); or remove it to have a new key made, whose public key every kiosk must "
                            "then be given");
}

} // namespace

QString PublishKey::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/zel/publish-key");
}

PublishKey PublishKey::load(const QString& path)
{
    initialise();
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        Errors::raise(errno == ENOENT ? Errors::FileNotFound : Errors::PathFileAccess,
                      QStringLiteral("The publishing key ") + path + QStringLiteral(" cannot be read (")
                          + QString::fromLocal8Bit(std::strerror(errno)) + u')' + restoring(path));
    if (!S_ISREG(status.st_mode) || status.st_size != crypto_sign_SECRETKEYBYTES)
        Errors::raise(
            Errors::PathFileAccess,
            QStringLiteral("The publishing key ") + path
                + QStringLiteral(" is not a key file (a regular file of %1 bytes)").arg(crypto_sign_SECRETKEYBYTES)
                + restoring(path));
    if ((status.st_mode & 077) != 0)
        Errors::raise(Errors::PathFileAccess,
                      QStringLiteral("The publishing key ") + path
                          + QStringLiteral(" may be read or written by others than its owner (mode %1): "
                                           "make it the owner's alone (chmod 600 ")
                                .arg(status.st_mode & 0777, 4, 8, QLatin1Char('0'))
                          + path + u')');
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Errors::raise(Errors::PathFileAccess, QStringLiteral("The publishing key ") + path
                                                  + QStringLiteral(" cannot be read (") + file.errorString() + u')'
                                                  + restoring(path));
    QByteArray secret = file.readAll();
    if (secret.size() != crypto_sign_SECRETKEYBYTES)
        Errors::raise(
            Errors::PathFileAccess,
            QStringLiteral("The publishing key ") + path
                + QStringLiteral(" is not a key file (a regular file of %1 bytes)").arg(crypto_sign_SECRETKEYBYTES)
                + restoring(path));
    return PublishKey(std::move(secret));
}

PublishKey PublishKey::create(const QString& path, const fileio::FailureHook* faults)
{
    initialise();
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, '\0'), secret(crypto_sign_SECRETKEYBYTES, '\0');
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                        reinterpret_cast<unsigned char*>(secret.data()));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        Errors::raise(Errors::PathNotFound,
                      QStringLiteral("The folder of the publishing key ") + folder + QStringLiteral(" cannot be made"));
    Errors::translatingFileErrors([&] {
        fileio::StagedFile staged(QFile::encodeName(path).toStdString(), {.links = fileio::LinkAtTarget::Refuse},
                                  faults);
        if (::fchmod(staged.descriptor(), 0600) != 0)
            throw fileio::FileError(errno, staged.target());
        staged.write(std::string_view(secret.constData(), size_t(secret.size())));
        staged.commit();
    });
    return PublishKey(std::move(secret));
}

QByteArray PublishKey::publicKey() const { return m_secret.right(crypto_sign_PUBLICKEYBYTES); }

QString PublishKey::publicKeyText() const { return QString::fromLatin1(publicKey().toBase64()); }

QByteArray PublishKey::sign(const QByteArray& message) const
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(message.constData()), size_t(message.size()),
                         reinterpret_cast<const unsigned char*>(m_secret.constData()));
    return signature;
}

bool PublishKey::verify(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey)
{
    initialise();
    return signature.size() == crypto_sign_BYTES && publicKey.size() == crypto_sign_PUBLICKEYBYTES
           && crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                          reinterpret_cast<const unsigned char*>(message.constData()),
                                          size_t(message.size()),
                                          reinterpret_cast<const unsigned char*>(publicKey.constData()))
                  == 0;
}
