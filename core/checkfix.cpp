#include "core/checkfix.h"

#include "core/documentfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <map>
#include <vector>

namespace ModCheck {

namespace {

bool meet(const ByteEdit &a, const ByteEdit &b)
{
    return a.offset == b.offset || (a.offset < b.offset + b.length && b.offset < a.offset + a.length);
}

// The lines of a text, each with its line end ("\n", with a CR before it as part of the line).
std::vector<QByteArrayView> linesOf(const QByteArray &bytes)
{
    std::vector<QByteArrayView> lines;
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
        lines.push_back(QByteArrayView(bytes).sliced(start, end - start));
        start = end;
    }
    return lines;
}

// A name in a diff's header as git writes it: in double quotes, with C escapes, when it holds a
// byte that would end or garble the line.
QByteArray diffName(const QByteArray &prefix, const QByteArray &name)
{
    if (std::none_of(name.begin(), name.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u < 0x20 || u >= 0x7f || c == '"' || c == '\\';
        }))
        return prefix + name;
    QByteArray out = '"' + prefix;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '"' || c == '\\')
            out += QByteArray(1, '\\') + c;
        else if (u < 0x20 || u >= 0x7f)
            out += '\\' + QByteArray::number(u, 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out + '"';
}

} // namespace

bool isApplied(const Fix &fix, FixLevel level)
{
    return fix.kind == FixKind::Safe || (fix.kind == FixKind::Suggestion && level == FixLevel::Suggestions);
}

QByteArray applyFixes(const QByteArray &bytes, const QList<Finding> &findings, FixLevel level, QList<Finding> *applied)
{
    std::map<qsizetype, ByteEdit> edits;  // by offset; none meets another
    const auto fits = [&edits](const ByteEdit &edit) {
        auto after = edits.lower_bound(edit.offset);
        if (after != edits.end() && meet(after->second, edit))
            return false;
        return after == edits.begin() || !meet(std::prev(after)->second, edit);
    };
    for (const Finding &finding : findings) {
        const Fix &fix = finding.fix;
        if (!isApplied(fix, level) || fix.edits.isEmpty())
            continue;
        if (!std::all_of(fix.edits.begin(), fix.edits.end(), [&](const ByteEdit &edit) {
                return edit.offset >= 0 && edit.length >= 0 && edit.offset + edit.length <= bytes.size() && fits(edit);
            }))
            continue;
        for (const ByteEdit &edit : fix.edits)
            edits.emplace(edit.offset, edit);
        if (applied)
            applied->append(finding);
    }
    if (edits.empty())
        return bytes;
    QByteArray out;
    out.reserve(bytes.size() + qsizetype(edits.size()));
    qsizetype at = 0;
    for (const auto &[offset, edit] : edits) {
        out += QByteArrayView(bytes).sliced(at, offset - at);
        out += edit.bytes;
        at = offset + edit.length;
    }
    out += QByteArrayView(bytes).sliced(at);
    return out;
}

FixedFile fixFile(Checker &checker, const ModFiles::Entry &file, FixLevel level, const KeepGoing &keepGoing)
{
    FixedFile fixed;
    // What the file holds, as a report lists it.
    fixed.found = checker.checkFile(file, keepGoing);
    try {
        if (!file.problem)
            fixed.before = DocumentFile::readNamed(file.name, file.path, DocumentFile::LargestFile, file.plain);
    } catch (const AppError &) {
        // Unreadable: its finding says why, and there is nothing to mend.
    }
    fixed.after = fixed.before;
    const FileKind kind = kindOf(file.name);
    // Rounds until nothing is left to mend, or the bytes come back to what a round made before
    // (two suggestions that would undo each other).
    checker.setMostPerRule(MostFindingsPerMend);
    QSet<QByteArray> seen;
    QHash<QString, qsizetype> ofRule;  // fixes a rule made
    while (!fixed.before.isNull() && !(keepGoing && !keepGoing())) {
        const QByteArray state = QCryptographicHash::hash(fixed.after, QCryptographicHash::Sha1);
        if (seen.contains(state))
            break;
        seen.insert(state);
        QList<Finding> applied;
        const QByteArray next = applyFixes(fixed.after, checker.checkBytes(fixed.after, kind, file.path, keepGoing), level, &applied);
        if (applied.isEmpty() || (keepGoing && !keepGoing()))
            break;
        for (const Finding &finding : std::as_const(applied)) {
            if (++ofRule[finding.rule] <= MostFindingsPerRule)
                fixed.fixed.append(finding);
        }
        fixed.fixes += applied.size();
        fixed.after = next;
    }
    checker.setMostPerRule(MostFindingsPerRule);
    // A rule's count after its last listed fix.
    for (auto it = ofRule.cbegin(); it != ofRule.cend(); ++it) {
        if (it.value() <= MostFindingsPerRule)
            continue;
        const auto last = std::find_if(fixed.fixed.crbegin(), fixed.fixed.crend(), [&it](const Finding &f) { return f.rule == it.key(); });
        Finding counted = *last;
        counted.fix.what = QStringLiteral("%1 more %2 fixes in this file, not listed")
                               .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(it.value() - MostFindingsPerRule), it.key());
        counted.fix.edits.clear();
        fixed.fixed.insert(last.base() - fixed.fixed.cbegin(), counted);
    }
    fixed.left = fixed.changed() ? checker.checkBytes(fixed.after, kind, file.path, keepGoing) : fixed.found;
    for (QList<Finding> *list : {&fixed.fixed, &fixed.left}) {
        for (Finding &finding : *list)
            finding.name = file.name;
    }
    return fixed;
}

void writeFixed(FixedFile &fixed, const ModFiles::Entry &file, const QSet<QString> &ignored)
{
    if (!fixed.changed())
        return;
    const QString path = DocumentFile::pathOf(file.name);
    QString why;
    try {
        // A name that is no text (bytes a Unix name may hold) cannot be written through a path:
        // the path would name another file.
        if (DocumentFile::nameOf(path) != file.name) {
            throw AppError{AppError::FileAccess, QStringLiteral("Cannot write '%1': its name holds bytes that are no text")
                                                     .arg(QDir::toNativeSeparators(file.path))};
        }
        // Replacing the file through a new one would get past its being read-only.
        // (Its owner's write permission counts, as for the superuser, whom the system lets write.)
        if (const QFileInfo info(path); info.exists() && (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))) {
            throw AppError{AppError::FileAccess,
                           QStringLiteral("Cannot write '%1': it is read-only").arg(QDir::toNativeSeparators(file.path))};
        }
        QSaveFile out(path);
        DocumentFile::openForWriting(out);
        DocumentFile::writeAndCommit(out, fixed.after);
        return;
    } catch (const AppError &error) {
        why = error.description;
    }
    // Nothing was mended after all: what is left is what the file holds.
    fixed.after = fixed.before;
    fixed.fixed.clear();
    fixed.fixes = 0;
    QList<Finding> left = fileFindings(file.path, {}, why, ignored);
    for (Finding &finding : left)
        finding.name = file.name;
    fixed.left = left + fixed.found;
}

QByteArray unifiedDiff(const QByteArray &name, const QByteArray &before, const QByteArray &after)
{
    if (before == after)
        return {};
    const std::vector<QByteArrayView> a = linesOf(before), b = linesOf(after);
    const size_t na = a.size(), nb = b.size();
    size_t prefix = 0;
    while (prefix < na && prefix < nb && a[prefix] == b[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < na - prefix && suffix < nb - prefix && a[na - 1 - suffix] == b[nb - 1 - suffix])
        ++suffix;
    // Each line of either text in turn: ' ' in both, '-' only before, '+' only after.
    std::vector<char> ops(prefix, ' ');
    const size_t ma = na - prefix - suffix, mb = nb - prefix - suffix;
    const auto changed = [&ops](size_t removed, size_t added) {
        ops.insert(ops.end(), removed, '-');
        ops.insert(ops.end(), added, '+');
    };
    if (ma == mb) {
        // Mends change lines in place: each run of changed lines, old then new.
        for (size_t i = 0; i < ma;) {
            size_t run = 0;
            while (i + run < ma && a[prefix + i + run] != b[prefix + i + run])
                ++run;
            if (run) {
                changed(run, run);
                i += run;
            } else {
                ops.push_back(' ');
                ++i;
            }
        }
    } else if (ma * mb <= 4'000'000) {
        // Lines left out or added: the longest common run of lines, by its table.
        std::vector<std::vector<quint32>> common(ma + 1, std::vector<quint32>(mb + 1, 0));
        for (size_t i = ma; i-- > 0;) {
            for (size_t j = mb; j-- > 0;) {
                common[i][j] = a[prefix + i] == b[prefix + j] ? common[i + 1][j + 1] + 1
                                                              : std::max(common[i + 1][j], common[i][j + 1]);
            }
        }
        size_t i = 0, j = 0;
        while (i < ma || j < mb) {
            if (i < ma && j < mb && a[prefix + i] == b[prefix + j]) {
                ops.push_back(' '), ++i, ++j;
            } else if (j < mb && (i == ma || common[i][j + 1] >= common[i + 1][j])) {
                ops.push_back('+'), ++j;
            } else {
                ops.push_back('-'), ++i;
            }
        }
    } else {
        changed(ma, mb);
    }
    ops.insert(ops.end(), suffix, ' ');

    QByteArray out = "--- " + diffName("a/", name) + "\n+++ " + diffName("b/", name) + "\n";
    constexpr size_t Context = 3;
    // Where each op's line stands in either text.
    std::vector<size_t> atA(ops.size() + 1), atB(ops.size() + 1);
    for (size_t k = 0; k < ops.size(); ++k) {
        atA[k + 1] = atA[k] + (ops[k] != '+');
        atB[k + 1] = atB[k] + (ops[k] != '-');
    }
    for (size_t k = 0; k < ops.size();) {
        if (ops[k] == ' ') {
            ++k;
            continue;
        }
        // A hunk: from three lines before this change to three after the last change that is
        // no more than six unchanged lines from the one before it.
        const size_t start = k > Context ? k - Context : 0;
        size_t end = k;
        for (size_t last = k; end < ops.size(); ++end) {
            if (ops[end] != ' ')
                last = end;
            else if (end - last > 2 * Context)
                break;
        }
        while (end > start && ops[end - 1] == ' ')
            --end;
        end = std::min(ops.size(), end + Context);
        const size_t oldLines = atA[end] - atA[start], newLines = atB[end] - atB[start];
        const auto from = [](size_t at, size_t count) { return QByteArray::number(qulonglong(count ? at + 1 : at)); };
        out += "@@ -" + from(atA[start], oldLines) + ',' + QByteArray::number(qulonglong(oldLines)) + " +"
               + from(atB[start], newLines) + ',' + QByteArray::number(qulonglong(newLines)) + " @@\n";
        for (size_t h = start; h < end; ++h) {
            const QByteArrayView line = ops[h] == '+' ? b[atB[h]] : a[atA[h]];
            out += ops[h];
            out += line;
            if (!line.endsWith('\n'))
                out += "\n\\ No newline at end of file\n";
        }
        k = end;
    }
    return out;
}

} // namespace ModCheck
