#include "platform/qt/QtPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "store/GuardedWrite.h"

std::string QtPaths::DocumentsFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).toStdString();
}

std::string QtPaths::ProgramFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

std::string QtPaths::StateFolder() { return UserStateFolder(); }

std::string QtPaths::HomeFolder() { return QDir::toNativeSeparators(QDir::homePath()).toStdString(); }
