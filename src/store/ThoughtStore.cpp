#include "store/ThoughtStore.h"

#include "common/modQXCommFunc.h"
#include "store/SqlText.h"
#include "store/Statement.h"

namespace ThoughtStore {

namespace {

using Statement::Execute;
using Statement::Open;

QList<ThoughtRow> Rows(const QString& sql) {
    Recordset rs = Open(sql);
    QList<ThoughtRow> rows;
    rows.reserve(rs.RecordCount());
    for (; !rs.Eof(); rs.MoveNext())
        rows.append({NullToEmpty(rs.Field(QStringLiteral("thoname"))),
                     NullToEmpty(rs.Field(QStringLiteral("thocaption")))});
    return rows;
}

QString Key(const QString& key) {
    return Quoted(key) + QStringLiteral("'");
}

} // namespace

QList<ThoughtRow> TopLevel() {
    return Rows(
        QStringLiteral("select * from pmThoughts where thoParent = 'Thoughts' order by thoname"));
}

QList<ThoughtRow> ChildrenOf(const QString& key) {
    return Rows(QStringLiteral("select * from pmThoughts where thoParent = '") + Key(key));
}

QList<ThoughtRow> ChildrenToDelete(const QString& key) {
    return Rows(QStringLiteral("select * from pmthoughts where thoparent = '") + Key(key));
}

bool HasChildren(const QString& key) {
    return !Open(QStringLiteral("select thoname from pmthoughts where thoparent = '") + Key(key))
                .Eof();
}

void Add(const QString& name, const QString& parentKey) {
    Execute(QStringLiteral("insert into pmthoughts (thoname, thocaption, thoparent) values ('") +
            Quoted(name) + QStringLiteral("','New Node', '") + Quoted(parentKey) +
            QStringLiteral("')"));
}

void Delete(const QString& key) {
    Execute(QStringLiteral("delete from pmthoughts where thoname = '") + Key(key));
}

void RenameByDialog(const QString& key, const QString& caption) {
    Execute(QStringLiteral("update pmThoughts set thoCaption = '") + TrimFixQuote(caption) +
            QStringLiteral("' where thoname = '") + Key(key));
}

void RenameInPlace(const QString& key, const QString& caption) {
    Execute(QStringLiteral("update pmThoughts set thocaption = '") + TrimFixQuote(caption) +
            QStringLiteral("' where ") + QStringLiteral("thoname = '") + Key(key));
}

std::optional<QString> NoteOf(const QString& key) {
    Recordset rs = Open(QStringLiteral("select * from pmTHoughts where thoname = '") + Key(key));
    if (rs.Eof())
        return std::nullopt;
    return NullToEmpty(rs.Field(QStringLiteral("thodata")));
}

void SaveNote(const QString& key, const QString& note) {
    Execute(QStringLiteral("update pmThoughts set thoData = '") + TrimFixQuote(note) +
            QStringLiteral("' where thoName = '") + Key(key));
}

std::optional<QString> Count() {
    Recordset rs = Open(QStringLiteral("select count(*) from pmthoughts"));
    if (rs.Eof())
        return std::nullopt;
    return NullToEmpty(rs.Field(0));
}

void Clear() {
    Execute(QStringLiteral("delete from pmThoughts"));
}

QList<ThoughtRow> Search(const QString& text) {
    const QString p = LikeText(text);
    return Rows(QStringLiteral("select * from pmthoughts where thodata like '%") + p +
                QStringLiteral("%' or thocaption like '%") + p + QStringLiteral("%'"));
}

bool NoteHolds(const QString& key, const QString& text) {
    return !Open(QStringLiteral("select * from pmthoughts where thodata like '%") + LikeText(text) +
                 QStringLiteral("%' and thoname ='") + TrimFixQuote(key) + QStringLiteral("'"))
                .Eof();
}

} // namespace ThoughtStore
