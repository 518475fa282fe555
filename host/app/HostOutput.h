// The files the pvxhost commands write (pictures, metafiles, projects), written so that a
// failure never costs the user an earlier file.
//
// CHostOutputFile checks the name before any work is done: its extension must name the format
// written, it must be a regular file or a new name (a symbolic link is followed: the file it
// points to is written, and its name must end in the extension too), it must not be the open
// project (under any name or link), and its folder must be writable. The writer then writes a
// temporary file in the same folder; Commit checks that the temporary file holds a whole file
// of the format, flushes it to disk and only then renames it over the target. When anything
// fails, the temporary file is removed and the target is untouched; messages name the target,
// never the temporary file.
//
//     CHostOutputFile out(args.Get("--out"), CHostOutputFile::kBmp);
//     if (int status = out.Check(options.strDBPath)) return status;
//     ... expensive work ...
//     if (int status = out.Begin()) return status;
//     WriteBmp24(out.GetTempPath().c_str(), dc);
//     if (int status = out.Commit(width, height)) return status;
#pragma once

#include <sys/types.h>

#include <string>

class CHostOutputFile {
public:
    enum EFormat {
        kBmp,     // 24-bit BMP: the size in its header is the file's, the picture the one asked for
        kEmf,     // enhanced metafile: header and end-of-file records, byte count of the header
        kProject, // project database (SQLite): as many pages as its header says
        kAvi,     // AVI film: RIFF and LIST sizes that fit the file, headers and index present
        kDxf      // DXF drawing (text): starts with a section, ends with the EOF record
    };

    CHostOutputFile(const std::string& path, EFormat format);
    // Removes the temporary file unless it was committed.
    ~CHostOutputFile();
    CHostOutputFile(const CHostOutputFile&) = delete;
    CHostOutputFile& operator=(const CHostOutputFile&) = delete;

    // Checks that the file can be written as described above; 0, or the exit status after a
    // message. project: the open project (empty when none); bMakeFolder: make a missing folder.
    int Check(const std::string& project, bool bMakeFolder = false);
    // Whether both name one file (the same file, or the same new name).
    bool IsSameTarget(const CHostOutputFile& other) const;
    // Check without the extension: what the name leads to.
    int CheckTarget(const std::string& project, bool bMakeFolder = false);
    // Makes the temporary file beside the target, named ".<name>.XXXXXX.<ext>" (a long name cut
    // so that it fits) so that writers that choose the format by the extension see the target's.
    // Writers given its name write through the descriptor that made it (platform/afx/
    // OutputFiles.h). The file is recorded, and temporary files that killed writers left are
    // removed first: those their records prove ours, never a file by its name alone. 0, or the
    // exit status after a message.
    int Begin();
    // Checks, flushes and renames the temporary file into place; 0, or the exit status after a
    // message (the temporary file is then gone and the target untouched). width and height,
    // when not 0, are the size a bitmap must have.
    int Commit(long width = 0, long height = 0);
    // Reports that the writer failed (why, and the disk's refusal when it takes no more), removes
    // the temporary file and returns the exit status.
    int Fail(const std::string& why);

    const std::string& GetPath() const { return m_strPath; }        // as given
    const std::string& GetTarget() const { return m_strTarget; }    // symbolic links followed
    const std::string& GetTempPath() const { return m_strTemp; }    // empty before Begin
    static const char* FormatName(EFormat format);                  // "a BMP picture" ...
    static const char* FormatExtension(EFormat format);             // "bmp", "emf", "pvxdb", "dxf"

private:
    void Discard();
    // Forgets the temporary file (left where it is) and its record.
    void Release();
    // Removes the record of the temporary file.
    void DropRecord();
    // Whether path names the regular file open as fd.
    static bool IsNamed(int fd, const std::string& path);

    std::string m_strPath;
    EFormat m_eFormat;
    std::string m_strTarget;
    std::string m_strProject;  // the open project, as Check was given it
    std::string m_strTemp;
    int m_nTempFd = -1;     // the temporary file, open while it is written
    std::string m_strRecord;  // its record, open and locked as m_nRecordFd
    int m_nRecordFd = -1;
    mode_t m_nMode = 0644;  // permissions the file gets: the old file's, or the usual for a new one
};

// The extension of path in lower case ("bmp"); "" when its name has none.
std::string OutputExtension(const std::string& path);

// 0 when path ends in .<ext> of the format (any case); otherwise the exit status after a
// message naming both the format written and the one the name says.
int CheckOutputName(const std::string& path, CHostOutputFile::EFormat format);

// text with the path of every temporary output file replaced by the file it stands for.
std::string ShowOutputPaths(const std::string& text);

// What tells a file from any other, now and later: its kind ("file", "folder", "other"),
// device, inode and, where the file system keeps it, birth time; "" when there is none. path
// relative to the folder open as dir (AT_FDCWD: the working one), not followed when a link;
// empty: dir itself.
std::string HostFileIdentity(int dir, const std::string& path);

// A folder of the run's own (films recorded before they are saved): a signal that ends the
// program removes it with the files in it. "" when the run has removed it itself.
void SetRunTempFolder(const std::string& dir);

// Removes every temporary output file still alive (the program is ending on a failure that
// skipped the writers' own clean-up); allocates nothing.
void RemoveOutputTemps();
