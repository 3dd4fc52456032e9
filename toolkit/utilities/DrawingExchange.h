// Drawing exchange: DXF files read into the drawing with the host's DXF
// import, ACIS files read and written with the host's ACIS reader and writer.
#pragma once

#include <afxwin.h>

#include "acarray.h"
#include "dbid.h"

// Reads one DXF file into the drawing with the host's "_dxfin"; when
// zoomExtents is non-zero, zooms to the drawing's extents after a normal
// import. 1, or 0 when the import does not end normally.
int ImportDxfFile(const CString& path, BOOL zoomExtents);

// Reads every DXF file beside path whose name begins with path's file name
// (the extension of path takes no part: for /work/model.skp the files
// /work/model*.dxf), each with "_dxfin" and a zoom to extents, and deletes
// each file whose import succeeded; a file whose import failed is kept.
// count is the number of files imported. 1, or 0 when no file matches or any
// import fails (each failure is printed on the command line).
int ImportDxfFiles(const CString& path, int& count);

// Reads an ACIS file with the host's ACIS reader and appends its entities to
// the model space of the working drawing, in the reader's order; when
// zoomExtents is non-zero, zooms to the drawing's extents after the last
// append. 1, or 0 when the read fails or an entity cannot be appended (the
// status text is the utilities group's last error; an entity no drawing took
// is deleted).
int ImportAcisFile(const CString& path, BOOL zoomExtents);

// Writes the entities named by ids, in order, to an ACIS file with the host's
// ACIS writer. 1, or 0 when an id cannot be opened for read (nothing is
// written then) or the write fails; the status text is the utilities group's
// last error.
int ExportAcisFile(const AcArray<AcDbObjectId>& ids, const CString& path);
