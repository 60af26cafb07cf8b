// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/filedefaultsstore.h"

#include "platform/filewriter.h"
#include "platform/storagepaths.h"
#include "platform/userfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace {

constexpr char bytesTag = 'B';
// Far above any value this program writes (a record copy of a century is about 300 MB), far
// below what would exhaust memory.
constexpr qint64 maxValueBytes = qint64(1) << 30;
constexpr char jsonTag = 'J';

bool isValidKey(const QString &key)
{
    static const QRegularExpression pattern(QStringLiteral("^[a-z0-9][a-z0-9-]{0,99}$"));
    return pattern.match(key).hasMatch();
}

QJsonValue toTagged(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
        // As text, so that every 64-bit value reads back exactly.
        return QJsonObject {{QStringLiteral("int"), QString::number(value.toLongLong())}};
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (std::isfinite(d))
            return QJsonObject {{QStringLiteral("double"), d}};
        return QJsonObject {{QStringLiteral("double"), QString::number(d)}};
    }
    case QMetaType::Bool:
        return QJsonObject {{QStringLiteral("bool"), value.toBool()}};
    case QMetaType::QString:
        return QJsonObject {{QStringLiteral("string"), value.toString()}};
    case QMetaType::QByteArray:
        return QJsonObject {
            {QStringLiteral("bytes"), QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant &element : value.toList())
            array.append(toTagged(element));
        return QJsonObject {{QStringLiteral("list"), array}};
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            object.insert(it.key(), toTagged(it.value()));
        return QJsonObject {{QStringLiteral("map"), object}};
    }
    default:
        return {};
    }
}

QVariant fromTagged(const QJsonValue &tagged)
{
    if (!tagged.isObject())
        return {};
    const QJsonObject object = tagged.toObject();
    if (object.size() != 1)
        return {};
    const QString type = object.begin().key();
    const QJsonValue v = object.begin().value();
    if (type == u"int") {
        bool ok = false;
        const qint64 i = v.toString().toLongLong(&ok);
        return ok ? QVariant(i) : QVariant();
    }
    if (type == u"double") {
        if (v.isDouble())
            return v.toDouble();
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    if (type == u"bool")
        return v.isBool() ? QVariant(v.toBool()) : QVariant();
    if (type == u"string")
        return v.isString() ? QVariant(v.toString()) : QVariant();
    if (type == u"bytes") {
        if (!v.isString())
            return {};
        const auto decoded = QByteArray::fromBase64Encoding(
            v.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        return decoded ? QVariant(*decoded) : QVariant();
    }
    if (type == u"list") {
        if (!v.isArray())
            return {};
        QVariantList list;
        for (const QJsonValue &element : v.toArray()) {
            const QVariant value = fromTagged(element);
            if (!value.isValid())
                return {};
            list.append(value);
        }
        return list;
    }
    if (type == u"map") {
        if (!v.isObject())
            return {};
        QVariantMap map;
        const QJsonObject entries = v.toObject();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            const QVariant value = fromTagged(it.value());
            if (!value.isValid())
                return {};
            map.insert(it.key(), value);
        }
        return map;
    }
    return {};
}

} // namespace

FileDefaultsStore::FileDefaultsStore(QString folder, FileWriter &writer)
    : m_folder(std::move(folder)), m_writer(writer)
{
    // One store per process, created once the instance lock is held: a half-done write of an
    // earlier run is nobody's.
    AtomicFileWriter::removeLeftovers(m_folder, isValidKey);
}

QString FileDefaultsStore::pathOf(const QString &key) const
{
    return QDir(m_folder).filePath(key);
}

QByteArray FileDefaultsStore::encodeValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return bytesTag + value.toByteArray();
    const QJsonValue tagged = toTagged(value);
    if (!tagged.isObject())
        return {};
    QByteArray json = QJsonDocument(tagged.toObject()).toJson(QJsonDocument::Compact);
    // Qt's JSON reader drops a U+FEFF that opens a string (a name or a map key), so it is written
    // escaped, which reads back as itself. Outside strings the compact form is plain ASCII.
    json.replace("\xEF\xBB\xBF", "\\ufeff");
    // Qt's JSON writer nests deeper than its reader reads: a value that would not read back is
    // not written at all, so that its key keeps the last value it had.
    if (QJsonDocument::fromJson(json).isNull())
        return {};
    return jsonTag + json;
}

QVariant FileDefaultsStore::decodeValue(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    if (bytes.front() == bytesTag)
        return bytes.mid(1);
    if (bytes.front() != jsonTag)
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.mid(1), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    return fromTagged(document.object());
}

QVariant FileDefaultsStore::value(const QString &key) const
{
    if (!isValidKey(key))
        return {};
    {
        const QMutexLocker locker(&m_cacheLock);
        const auto cached = m_cache.constFind(key);
        if (cached != m_cache.cend())
            return *cached;
    }
    QVariant result;
    const UserFiles::Read read = UserFiles::readRegular(pathOf(key), maxValueBytes);
    if (read.bytes)
        result = decodeValue(*read.bytes);
    if (!result.isValid() && read.opened != UserFiles::Opened::Missing)
        qWarning(
            "defaults: the stored value of %s is unreadable and reads as absent", qPrintable(key));
    // Byte values (the record copy) can be large and are read once at start-up: not kept.
    if (result.typeId() != QMetaType::QByteArray) {
        const QMutexLocker locker(&m_cacheLock);
        m_cache.insert(key, result);
    }
    return result;
}

std::optional<DefaultsStore::Unreadable> FileDefaultsStore::unreadable(const QString &key) const
{
    if (!isValidKey(key))
        return std::nullopt;
    const UserFiles::Read read = UserFiles::readRegular(pathOf(key), maxValueBytes);
    if (read.opened == UserFiles::Opened::Missing)
        return std::nullopt;
    if (read.bytes && decodeValue(*read.bytes).isValid())
        return std::nullopt;
    return Unreadable {read.bytes};
}

bool FileDefaultsStore::setValue(const QString &key, const QVariant &value)
{
    const QVariant stored = DefaultsValue::normalized(value);
    if (!isValidKey(key) || !stored.isValid())
        return false;
    if (!UserFiles::makePrivateFolder(m_folder)) {
        qWarning("defaults: cannot create %s", qPrintable(m_folder));
        return false;
    }
    const QByteArray bytes = encodeValue(stored);
    if (bytes.isEmpty()) {
        qWarning("defaults: %s not written: the value could not be read back", qPrintable(key));
        return false;
    }
    const FileWriter::Result result = m_writer.writeAtomically(pathOf(key), bytes);
    if (!result.ok) {
        qWarning("defaults: cannot write %s: %s", qPrintable(key), qPrintable(result.error));
        return false;
    }
    const QMutexLocker locker(&m_cacheLock);
    if (stored.typeId() == QMetaType::QByteArray)
        m_cache.remove(key);
    else
        m_cache.insert(key, stored);
    return true;
}

void FileDefaultsStore::remove(const QString &key)
{
    if (!isValidKey(key))
        return;
    QFile::remove(pathOf(key));
    const QMutexLocker locker(&m_cacheLock);
    m_cache.insert(key, QVariant());
}

FileDefaultsStore &FileDefaultsStore::standard()
{
    static FileDefaultsStore store(StoragePaths::defaultsFolder(), AtomicFileWriter::instance());
    return store;
}
