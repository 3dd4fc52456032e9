// Drawing exchange: DXF files read into the drawing with the host's DXF
// import, ACIS files read and written with the host's ACIS reader and writer.
#pragma once

#include <afxwin.h>

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
