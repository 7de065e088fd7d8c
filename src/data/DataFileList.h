#pragma once

#include <QStringList>

namespace rur::data {

// The file names that make up one data set, in their fixed order: the 51 of the earlier
// editions, then the register of documents (52). Files whose template does not exist (index
// and memo files of the old engine) are skipped wherever the list is used.
const QStringList &dataFileList();
// Entries first..last of the list, counted from 1.
QStringList dataFiles(int first, int last);
// The entries of first..last that this engine keeps as table files (the .DB files); the
// index and memo files of the list live inside them here.
QStringList tableFiles(int first, int last);

// Catalogue and password files of a data root, as they are copied from its template directory.
const QStringList &catalogueFiles();
const QStringList &passwordFiles();

}  // namespace rur::data
