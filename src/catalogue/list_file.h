#pragma once

#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace songwick {

// The list file (.swk): CRLF lines in Windows-1251. The header line "Songwick file..", the
// row count R (header row included), the column count K, then for each data row its K cells
// one per line followed by an empty line, and the trailer "Russia". The header row is not
// stored; marks are stored with their number cells.
//
// The files the rows stand for. A row stands for the file its columns 2 (folder) and 1 (name)
// name, as long as those cells give it exactly. Where they do not, the file is recorded after
// the trailer, where readers that stop at the counted cells never look:
//
//   Songwick files..
//   <row>\t<folder>\t<name>     the row stands for this file
//   <row>\t-                   the row stands for no file
//   Songwick files end..
//
// folder and name are the bytes of the name on disk, with "%" and every byte outside the
// visible ASCII characters written as "%XX" (upper-case hexadecimal), so the record is ASCII in
// either encoding of the file. A row is recorded when a reader rebuilding its file from the
// cells would not find the row's file: a name or folder with a byte that is not text or a line
// break (the cell shows "?" or a blank there), a name cell edited and not yet renamed, a row
// without a file whose name cell holds a name, or a name holding "?". A list whose every row
// reads back from its cells has no record and is byte for byte what it always was.
//
// Reading: a recorded row takes the recorded file; its name and folder cells, when they are
// what writing that file's name and folder gives, take the exact texts back, so that the row
// does not look edited. A row not recorded stands for the file its cells name, unless that is
// not certain: a cell with "?" or U+FFFD marks a byte lost on the way (a list of another
// program, or one written without the record), and the row then stands for no file. A damaged
// record (a line that is no entry, a row outside the table or recorded twice, no end line)
// keeps the entries that read, and every other row, and a row recorded twice, stands for no
// file, because the record may have named another file for it than its cells do. A row that stands
// for no file is never renamed.

// How a read ended when it did not throw. A foreign file is not an exception because the
// window must show notAListFileMessage() once and carry on (the start window still hands
// over to the main window, the main window keeps the prepared table).
enum class ListFileRead {
    Loaded,
    NotAListFile, // the first line is not exactly the header line; the grid is unchanged
};

// "Данный файл не является файлом Songwick." + "\n\r" + "Либо файл поврежден."
QString notAListFileMessage();

// The bytes of a list file for the grid. A line break inside a cell is written as a blank,
// so that every file reads back aligned, and a half of a character pair (a byte of a file name
// that is not text) as "?". When a cell holds a character Windows-1251 cannot hold, the file
// is written as UTF-8 instead, behind the byte order mark EF BB BF, with the same lines; the
// reader accepts both. The record of the rows' files follows where it is needed.
QByteArray listFileBytes(const CatalogueGrid& grid);

// Writes the list file atomically (a temporary file renamed over the old one). Throws Error
// naming the file and the system's reason when it cannot be written; an existing file then
// stays as it was.
void writeListFile(const QString& path, const CatalogueGrid& grid);

// Reads list file bytes into the grid: row count and column count as the file says (values
// below 1 count as 1), the cells of data rows 1 to R - 1 and the files the rows stand for, the
// header row kept as it was (cells of new columns empty). Lines may end with CRLF, LF or CR; a
// file that ends early leaves the remaining cells empty; the trailer need not be there.
// Throws Error, leaving the grid unchanged, when a count line is not a decimal integer
// ("'<line>' is not a valid integer value"), when the file holds more data rows than a record
// store can, or when its rows and columns would make an unreasonably large grid.
ListFileRead readListFile(QByteArrayView bytes, CatalogueGrid& grid);

// The file's bytes; throws Error naming the file and the system's reason.
QByteArray readListFileBytes(const QString& path);

// Reads the list file at path into the grid, for a program without windows, where a file that
// is not a list file is a failure too. Every failure throws Error whose text names the file.
void readListFileAt(const QString& path, CatalogueGrid& grid);

// Saving. saveListFileAs writes to `path`, makes it the current list file name, sets the
// saved-name flag and clears the modified flag. saveListFile writes to the current list file
// name and clears the modified flag; it returns false, writing nothing, when there is no
// current name yet (the window then runs save as). On a failed write (Error) the flags and
// the name keep their former values.
void saveListFileAs(const QString& path, const CatalogueGrid& grid, MainTableState& state);
bool saveListFile(const CatalogueGrid& grid, MainTableState& state);

// The preparation both opens start with: sets the first-insertion flag and gives the grid
// 7 columns, as many data rows as the table source's store holds, all empty, numbered, with
// the header row. The mode-0 column widths are the window's to apply.
void prepareForListFile(CatalogueGrid& grid, CatalogueState& state);

// Open in the main window: prepare, read, copy back into both record stores. The modified and
// saved-name flags, the table source and the current list file name stay.
// Open in the start window: prepare, read, no copy-back; sets loaded-in-start-window so that
// the main window shows the table as it is.
// Both: each row stands for the file the list gives it (see above). When the file cannot be
// read (Error naming the file), a count line is not a number or the file has too many rows,
// they throw Error; NotAListFile returns; in both cases nothing (grid, stores, flags) has
// changed.
ListFileRead openListFileInMainWindow(const QString& path, CatalogueGrid& grid,
                                      CatalogueState& state);
ListFileRead openListFileInStartWindow(const QString& path, CatalogueGrid& grid,
                                       CatalogueState& state);

} // namespace songwick
