#pragma once

#include <QString>

// An error that ends a document, dialog or command-line operation. The number is stable per kind
// of failure (users quote it when asking for help); the description says what failed and where.
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

    int number = 0;
    QString description;
};
