// Picking one object and building selection sets on the command line.
// Every function returns 1 on success and 0 on failure; a failure leaves its
// reason in CToolkitUtilities::GetLastErrorText.
#pragma once

#include <afxwin.h>
#include <dbmain.h>
#include <gepnt3d.h>

// Asks the user to pick one object until one is picked or the user cancels.
// An empty prompt shows "Select an object:". The object is highlighted when
// highlight is 1. id and pickPoint are meaningful only when 1 is returned.
int PickEntity(const CString& prompt, int highlight, AcDbObjectId& id, AcGePoint3d& pickPoint);
int PickEntity(const CString& prompt, int highlight, AcDbObjectId& id);

// The same, accepting only objects whose run-time class name is one of
// classNames (exact, case-sensitive); other picks are refused and asked again.
int PickEntity(const CString& prompt, int highlight, const CStringArray& classNames, AcDbObjectId& id,
               AcGePoint3d& pickPoint);
int PickEntity(const CString& prompt, int highlight, const CStringArray& classNames, AcDbObjectId& id);
int PickEntity(const CString& prompt, int highlight, const CString& className, AcDbObjectId& id,
               AcGePoint3d& pickPoint);
int PickEntity(const CString& prompt, int highlight, const CString& className, AcDbObjectId& id);

// Lets the user select objects and appends the ids of those whose class name
// is one of classNames to ids. An empty prompt uses the host's own prompts;
// a longer prompt than the host's buffer holds is cut. Objects kept are
// highlighted when highlight is not 0. 0 when nothing was selected or ids is
// still empty.
int SelectEntities(const CString& prompt, int highlight, const CStringArray& classNames, AcArray<AcDbObjectId>& ids);
// The same without a class filter.
int SelectEntities(const CString& prompt, int highlight, AcArray<AcDbObjectId>& ids);

// Replaces ids with every object of the drawing, without asking.
int SelectAllEntities(AcArray<AcDbObjectId>& ids);

// Lets the user select point entities and appends their positions to points.
int SelectPoints(AcArray<AcGePoint3d>& points);
