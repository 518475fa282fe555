// AVI files and video compressors (the AVI file library and the compressor manager), written
// over FFmpeg.
//
// A film is made as on the original platform: AVIFileInit, AVIFileOpen with OF_CREATE, one
// video stream per file (AVIFileCreateStream), its DIB format (AVIStreamSetFormat: a
// BITMAPINFOHEADER of 8, 16 or 24 bits, BI_RGB, with the colour table after it for 8 bits),
// then the frames as DIB bits (bottom-up rows padded to 4 bytes) by sample number
// (AVIStreamWrite), the releases and AVIFileExit. Samples are written in order: sample n must
// be the stream's next one (or -1 for "next").
//
// Uncompressed streams are raw DIB frames (FFmpeg rawvideo: pal8 with its 256 colours, rgb555le
// or bgr24, stored bottom-up); every sample is a key frame whatever the flag says. A stream of
// this session can be read back at any sample number (AVIStreamRead), which the recorder uses
// to copy frames in a different order.
//
// AVIMakeCompressedStream puts a compressor over a stream. The compressor manager knows one
// compressor, "Microsoft Video 1" (handler 'MSVC', FFmpeg's msvideo1 encoder); ICInstall lets
// tests stand in others (a compressor without an encoder can be listed and queried but not
// used). Microsoft Video 1 codes 16-bit RGB555 in 4 x 4 blocks: whatever the source depth the
// film is RGB555, its size rounded up to multiples of 4 by repeating the last row and column,
// and the encoder chooses its own key frames.
//
// AVISaveOptions is the platform's compression dialog: a drop list of "Full Frames
// (Uncompressed)" and the installed compressors, answered by the scripted user (CUiDriver,
// template IDD_AVISAVEOPTIONS); without a script it is cancelled.
//
// Failures answer an AVIERR_* code and are reported as diagnostics ("video").
#pragma once

#include <string>

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "platform/gdi/gdidefs.h"
#include "platform/ui/CWnd.h"

typedef LONG HRESULT;

#ifndef mmioFOURCC
#define mmioFOURCC(a, b, c, d) \
    (static_cast<DWORD>(static_cast<BYTE>(a)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) | \
     (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) | (static_cast<DWORD>(static_cast<BYTE>(d)) << 24))
#endif
#define streamtypeVIDEO mmioFOURCC('v', 'i', 'd', 's')
#define ICTYPE_VIDEO mmioFOURCC('v', 'i', 'd', 'c')

// File open modes.
#define OF_READ 0x0000
#define OF_WRITE 0x0001
#define OF_READWRITE 0x0002
#define OF_SHARE_DENY_NONE 0x0040
#define OF_CREATE 0x1000

#define AVIIF_KEYFRAME 0x00000010
#define AVICOMPRESSF_VALID 0x00000008
#define ICMODE_COMPRESS 1
#define ICMODE_QUERY 4
#define ICERR_OK 0
#define ICERR_BADHANDLE (-8)

// Answers of the AVI calls.
#define AVIERR_OK 0
#define AVIERR_UNSUPPORTED (-2147205018L)  // 0x80044066
#define AVIERR_BADFORMAT (-2147205017L)
#define AVIERR_MEMORY (-2147205016L)
#define AVIERR_BADPARAM (-2147205010L)
#define AVIERR_FILEREAD (-2147205011L)
#define AVIERR_FILEWRITE (-2147205012L)
#define AVIERR_FILEOPEN (-2147205009L)
#define AVIERR_NOCOMPRESSOR (-2147205006L)
#define AVIERR_ERROR (-2147204966L)

// Video stream header of a file.
struct AVISTREAMINFO {
    DWORD fccType;                // streamtypeVIDEO
    DWORD fccHandler;             // kept as given; the file's codec tag is the encoder's
    DWORD dwFlags;
    DWORD dwCaps;
    WORD wPriority;
    WORD wLanguage;
    DWORD dwScale;                // a frame lasts dwScale / dwRate seconds
    DWORD dwRate;
    DWORD dwStart;
    DWORD dwLength;               // samples written so far (filled in by AVIStreamInfo)
    DWORD dwInitialFrames;
    DWORD dwSuggestedBufferSize;
    DWORD dwQuality;
    DWORD dwSampleSize;
    RECT rcFrame;
    DWORD dwEditCount;
    DWORD dwFormatChangeCount;
    char szName[64];
};

// Compression settings of a stream, eleven 32-bit words as the settings archive keeps them.
// lpFormat and lpParms are words too: 0 when absent, a non-zero token when the chosen
// compressor carries a format or parameters.
struct AVICOMPRESSOPTIONS {
    DWORD fccType;
    DWORD fccHandler;
    DWORD dwKeyFrameEvery;
    DWORD dwQuality;
    DWORD dwBytesPerSecond;
    DWORD dwFlags;
    DWORD lpFormat;
    DWORD cbFormat;
    DWORD lpParms;
    DWORD cbParms;
    DWORD dwInterleaveEvery;
};
static_assert(sizeof(AVICOMPRESSOPTIONS) == 44, "the compress options are eleven 32-bit words");
typedef AVICOMPRESSOPTIONS* LPAVICOMPRESSOPTIONS;

// What the compressor manager tells of one compressor.
struct ICINFO {
    DWORD dwSize;
    DWORD fccType;
    DWORD fccHandler;
    DWORD dwFlags;
    DWORD dwVersion;
    DWORD dwVersionICM;
    WCHAR szName[16];
    WCHAR szDescription[128];
    WCHAR szDriver[128];
};

struct AviFileObject;
struct AviStreamObject;
struct IcOpenObject;
typedef AviFileObject* PAVIFILE;
typedef AviStreamObject* PAVISTREAM;
typedef IcOpenObject* HIC;

// ---- library ----
void AVIFileInit();
void AVIFileExit();
// Unmatched AVIFileInit calls.
int AVIFileInitCount();

// ---- files and streams ----
// Creates (OF_CREATE, truncating) a film at szFile; reading films goes through the media player.
HRESULT AVIFileOpen(PAVIFILE* ppfile, LPCTSTR szFile, UINT uMode, void* lpHandler);
// Releasing a file (and all its streams) writes the film out: header, index, sizes.
ULONG AVIFileRelease(PAVIFILE pfile);
HRESULT AVIFileCreateStream(PAVIFILE pfile, PAVISTREAM* ppavi, const AVISTREAMINFO* psi);
HRESULT AVIStreamSetFormat(PAVISTREAM pavi, LONG lPos, const void* lpFormat, LONG cbFormat);
HRESULT AVIMakeCompressedStream(PAVISTREAM* ppsCompressed, PAVISTREAM psSource, const AVICOMPRESSOPTIONS* lpOptions,
                                void* pclsidHandler);
HRESULT AVIStreamWrite(PAVISTREAM pavi, LONG lStart, LONG lSamples, const void* lpBuffer, LONG cbBuffer, DWORD dwFlags,
                       LONG* plSampWritten, LONG* plBytesWritten);
// Reads samples of an uncompressed stream written in this session. With a null buffer only
// the sizes are told.
HRESULT AVIStreamRead(PAVISTREAM pavi, LONG lStart, LONG lSamples, void* lpBuffer, LONG cbBuffer, LONG* plBytes,
                      LONG* plSamples);
HRESULT AVIStreamInfo(PAVISTREAM pavi, AVISTREAMINFO* psi, LONG lSize);
ULONG AVIStreamRelease(PAVISTREAM pavi);

// ---- compression dialog ----
// Shows the compression dialog for each stream on *plpOptions[i]; TRUE when the user chose OK.
// Choosing a compressor sets fccHandler, dwFlags AVICOMPRESSF_VALID and a parameter token
// (lpParms non-zero, cbParms 4); choosing full frames clears handler and parameters.
BOOL AVISaveOptions(HWND hwnd, UINT uiFlags, int nStreams, PAVISTREAM* ppavi, LPAVICOMPRESSOPTIONS* plpOptions);
LONG AVISaveOptionsFree(int nStreams, LPAVICOMPRESSOPTIONS* plpOptions);
#define IDD_AVISAVEOPTIONS 0x7E10
#define IDC_AVISAVEOPTIONS_COMPRESSOR 0x7E11

// ---- compressor manager ----
// The i-th installed compressor of the type (ICTYPE_VIDEO, or 0 for any); FALSE past the end.
BOOL ICInfo(DWORD fccType, DWORD fccHandler, ICINFO* lpicinfo);
HIC ICOpen(DWORD fccType, DWORD fccHandler, UINT wMode);
LONG ICGetInfo(HIC hic, ICINFO* picinfo, DWORD cb);
LONG ICClose(HIC hic);
// The installed list: ICInstallDefaults puts back the platform's own ("Microsoft Video 1");
// ICInstall appends one (szEncoder the FFmpeg encoder, or empty for a compressor that can be
// queried but not used); ICRemoveAll empties it.
void ICInstallDefaults();
void ICRemoveAll();
void ICInstall(DWORD fccHandler, LPCTSTR szName, LPCTSTR szDescription, LPCTSTR szEncoder);

// ---- film checks ----
// Empty when the RIFF and LIST sizes of the AVI file at szFile agree with each other and with
// the file's length (every chunk inside its parent, the RIFF size the file's length less 8, a
// main header, a stream format and a frame index present); else the reason it is not a
// complete film.
CString AviCheckRiffSizes(LPCTSTR szFile);
