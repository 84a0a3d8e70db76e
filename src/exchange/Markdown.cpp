// Thoughts as a folder of Markdown files that mirrors the tree: a node is <caption>.md with its
// note, a node with children also a folder <caption>/. The node's stored name rides in a first
// line comment, which Markdown editors do not show, so an import knows its own nodes again;
// a caption the file name could not keep (a "/", a name taken twice) rides in a second one.
// Both are percent-encoded: a name or caption may hold "-->".
#include "exchange/Exchange.h"

#include "common/RuntimeError.h"
#include "store/ThoughtStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <optional>

namespace Exchange {

namespace {

const QString kRoot = QStringLiteral("Thoughts");
const QString kMarkPrefix = QStringLiteral("<!-- pimora:thoname=");
const QString kCaptionPrefix = QStringLiteral("<!-- pimora:caption=");
const QString kMarkSuffix = QStringLiteral(" -->");
constexpr int kMaxNameBytes = 200; // of 255, leaving room for " (N)" and ".md"

QString Encoded(const QString& s) {
    return QString::fromLatin1(QUrl::toPercentEncoding(s, " "));
}

RuntimeError Failed(const QString& text) {
    return RuntimeError(0, text, QStringLiteral("Pimora"), ErrorKind::FileAccess);
}

// A caption as a file name: no "/" or NUL, no leading dot (a hidden file), not empty, not too
// long for the file system.
QString FileNameOf(const QString& caption) {
    QString name = caption;
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QChar(0), QLatin1Char('_'));
    qsizetype dots = 0;
    while (dots < name.size() && name[dots] == QLatin1Char('.'))
        ++dots;
    name.replace(0, dots, QString(dots, QLatin1Char('_')));
    if (name.trimmed().isEmpty())
        name = QStringLiteral("Untitled");
    while (name.toUtf8().size() > kMaxNameBytes)
        name.chop(1);
    return name;
}

QString Unique(const QString& name, QSet<QString>& taken) {
    QString candidate = name;
    // Compared without case, so the folder survives a copy to a file system that ignores it.
    for (int n = 2; taken.contains(candidate.toCaseFolded()); ++n)
        candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
    taken.insert(candidate.toCaseFolded());
    return candidate;
}

void Write(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.flush())
        throw Failed(
            QStringLiteral("The file '%1' cannot be written: %2").arg(path, f.errorString()));
}

struct Exporter {
    const Progress& progress;
    int done = 0;
    int total = 0;

    bool Branch(const QString& key, const QString& folder) {
        QSet<QString> taken;
        const auto children =
            key == kRoot ? ThoughtStore::TopLevel() : ThoughtStore::ChildrenOf(key);
        for (const auto& node : children) {
            const QString base = Unique(FileNameOf(node.caption), taken);
            const QString note = ThoughtStore::NoteOf(node.name).value_or(QString());
            QString head = kMarkPrefix + Encoded(node.name) + kMarkSuffix + QLatin1Char('\n');
            if (base != node.caption)
                head += kCaptionPrefix + Encoded(node.caption) + kMarkSuffix + QLatin1Char('\n');
            Write(folder + QLatin1Char('/') + base + QStringLiteral(".md"), (head + note).toUtf8());
            if (progress && !progress(++done, total))
                return false;
            if (ThoughtStore::HasChildren(node.name)) {
                const QString sub = folder + QLatin1Char('/') + base;
                if (!QDir().mkdir(sub))
                    throw Failed(QStringLiteral("The folder '%1' cannot be made.").arg(sub));
                if (!Branch(node.name, sub))
                    return false;
            }
        }
        return true;
    }
};

// Takes a marker line off the front of text; its value, or nothing.
std::optional<QString> TakeMark(QString& text, const QString& prefix) {
    if (!text.startsWith(prefix))
        return std::nullopt;
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    QString line = text.left(end < 0 ? text.size() : end);
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    if (!line.endsWith(kMarkSuffix))
        return std::nullopt;
    const QString value = line.mid(prefix.size(), line.size() - prefix.size() - kMarkSuffix.size());
    text = end < 0 ? QString() : text.mid(end + 1);
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value.toUtf8()));
}

// The stored name and caption from a file's first lines, and the note after them.
void Split(const QString& text, ThoughtsPlan::Node& node) {
    node.note = text;
    if (auto name = TakeMark(node.note, kMarkPrefix)) {
        node.storedName = *name;
        if (auto caption = TakeMark(node.note, kCaptionPrefix))
            node.caption = *caption;
    }
}

constexpr int kMaxDepth = 64; // deeper is a loop of links, not a tree

void ReadBranch(const QString& folder, int parent, ThoughtsPlan& plan, int depth = 0) {
    if (depth > kMaxDepth)
        throw Failed(QStringLiteral("The folder '%1' is nested too deeply: it may link to itself.")
                         .arg(folder));
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QSet<QString> consumed; // folders read as a file's children
    for (const QFileInfo& e : entries) {
        if (!e.isFile())
            continue;
        const QString suffix = e.suffix().toLower();
        if (suffix != QLatin1String("md") && suffix != QLatin1String("txt"))
            continue;
        QFile f(e.filePath());
        if (!f.open(QIODevice::ReadOnly))
            throw Failed(QStringLiteral("The file '%1' cannot be read: %2")
                             .arg(e.filePath(), f.errorString()));
        ThoughtsPlan::Node node;
        node.caption = e.completeBaseName();
        const QString base = node.caption;
        node.parent = parent;
        Split(QString::fromUtf8(f.readAll()), node);
        node.known =
            !node.storedName.isEmpty() && ThoughtStore::NoteOf(node.storedName).has_value();
        plan.nodes.append(node);
        const QString sub = folder + QLatin1Char('/') + base;
        if (QFileInfo(sub).isDir() && !consumed.contains(base)) {
            consumed.insert(base);
            ReadBranch(sub, int(plan.nodes.size()) - 1, plan, depth + 1);
        }
    }
    // A folder without a file of its name is a node without a note.
    for (const QFileInfo& e : entries) {
        if (!e.isDir() || consumed.contains(e.fileName()))
            continue;
        ThoughtsPlan::Node node;
        node.caption = e.fileName();
        node.parent = parent;
        plan.nodes.append(node);
        ReadBranch(e.filePath(), int(plan.nodes.size()) - 1, plan, depth + 1);
    }
}

} // namespace

bool ExportThoughts(const QString& folder, const Progress& progress) {
    const QFileInfo target(folder);
    if (target.exists() &&
        (!target.isDir() ||
         !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)))
        throw Failed(
            QStringLiteral("The folder '%1' is not empty: choose a new or an empty folder.")
                .arg(folder));
    // Written beside the target and renamed into place, so a cancel or a failure leaves nothing.
    const QString partial = QDir::cleanPath(folder) + QStringLiteral(".partial-") +
                            QUuid::createUuid().toString(QUuid::Id128).left(8);
    if (!QDir().mkpath(partial))
        throw Failed(QStringLiteral("The folder '%1' cannot be made.").arg(partial));
    bool finished = false;
    try {
        Exporter exporter{progress};
        if (progress)
            exporter.total = ThoughtStore::Count().value_or(QStringLiteral("0")).toInt();
        finished = exporter.Branch(kRoot, partial);
        if (finished) {
            if (target.exists())
                QDir().rmdir(folder);
            if (!QDir().rename(partial, folder))
                throw Failed(QStringLiteral("The folder '%1' cannot be made.").arg(folder));
        }
    } catch (...) {
        QDir(partial).removeRecursively();
        throw;
    }
    if (!finished)
        QDir(partial).removeRecursively();
    return finished;
}

ThoughtsPlan ReadThoughts(const QString& folder) {
    if (!QFileInfo(folder).isDir())
        throw Failed(QStringLiteral("'%1' is not a folder.").arg(folder));
    ThoughtsPlan plan;
    ReadBranch(folder, -1, plan);
    return plan;
}

int ThoughtsPlan::NewNodes() const {
    return int(std::count_if(nodes.begin(), nodes.end(), [](const Node& n) { return !n.known; }));
}

} // namespace Exchange
