#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// What the mod check finds: one finding a line of a file and rule, and the findings of a check.
namespace ModCheck {

enum class Severity { Error, Warning };

struct Finding
{
    QString path;  // as the file was found under the path given
    int line;      // 1-based
    Severity severity;
    QString text;
    QString key;   // the NFO key of its line (NAME, ETA), empty when the finding is of no one value
    QString rule = {};  // the id of the rule that found it ("eta-range")
    QByteArray name = {};  // the file as the system knows it (its path need not be valid text)
};

struct Report
{
    QList<Finding> findings;  // file by file, in line order
    int files = 0;            // files checked
    int errors() const;
    int warnings() const;
};

// At most this many findings of one rule in one file are listed; one more finding counts the rest,
// so that a file of millions of bad lines gives a short report in little memory.
inline constexpr int MostFindingsPerRule = 20;

// Asked now and then while a large file is checked: false stops the check of the file.
using KeepGoing = std::function<bool()>;

} // namespace ModCheck
