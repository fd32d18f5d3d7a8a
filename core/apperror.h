#pragma once

#include <QString>

// An error that ends a document, dialog or command-line operation. The number is stable per kind
// of failure (users quote it when asking for help); the description says what failed; the file
// and the line it concerns are fields of their own (empty and 0 when it concerns none).
struct AppError
{
    enum Number : int {
        FileTooLarge = 7,       // larger than the editor holds (DocumentFile::LargestFile)
        BadFileLine = 9,        // an NFO line that cannot supply its value
        BadFileName = 52,       // a name that names no file (not valid in the file name encoding)
        DeviceError = 57,       // a read or write that failed part-way
        FileNotFound = 53,
        EmptyFile = 62,         // no first line to decide the NFO kind from
        FileAccess = 75,        // cannot open (a folder, no rights, invalid name)
        UnstorableValue = 380,  // a value the file format or its code page cannot hold
    };

    AppError() = default;
    AppError(int number, QString description, QString path = {}, int line = 0)
        : number(number), description(std::move(description)), path(std::move(path)), line(line)
    {
    }

    int number = 0;
    QString description;
    QString path;
    int line = 0;

    // The description with its line, as a message shows it: "line 3 has no value..." for a
    // description about "the line", else "line 3: ..." before it.
    QString withLine() const
    {
        if (line <= 0)
            return description;
        const QString subject = QStringLiteral("the line ");
        if (description.startsWith(subject))
            return QStringLiteral("line %1 ").arg(line) + description.mid(subject.size());
        return QStringLiteral("line %1: ").arg(line) + description;
    }
};
