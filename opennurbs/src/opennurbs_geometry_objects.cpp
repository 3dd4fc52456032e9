// Point objects, attributes, instances, annotation and the mesh's geometry members.
#include "opennurbs_3dm_attributes.h"
#include "opennurbs_annotation2.h"
#include "opennurbs_instance.h"
#include "opennurbs_mesh.h"
#include "opennurbs_pointgeometry.h"
#include "opennurbs_xform.h"

// ---------------------------------------------------------------------------
// ON_Point

ON_OBJECT_IMPLEMENT(ON_Point, ON_Geometry, "C3101A1D-F157-11d3-BFE7-0010830122F0")

ON_Point::ON_Point() : point(0.0, 0.0, 0.0) {}

ON_Point::ON_Point(const ON_3dPoint& pt) : point(pt) {}

ON_Point::ON_Point(double x, double y, double z) : point(x, y, z) {}

ON_Point::~ON_Point() = default;

ON_Point& ON_Point::operator=(const ON_3dPoint& pt)
{
  point = pt;
  return *this;
}

bool ON_Point::IsValid(ON_TextLog*) const
{
  return point.IsValid();
}

ON::object_type ON_Point::ObjectType() const
{
  return ON::point_object;
}

int ON_Point::Dimension() const
{
  return 3;
}

ON_BoundingBox ON_Point::BoundingBox() const
{
  ON_BoundingBox b;
  b.Set(point, false);
  return b;
}

bool ON_Point::Transform(const ON_Xform& xform)
{
  point = xform * point;
  return true;
}

// ---------------------------------------------------------------------------
// ON_3dmObjectAttributes

ON_OBJECT_IMPLEMENT(ON_3dmObjectAttributes, ON_Object, "A828C015-09F5-477c-8665-F0482F5D6996")

ON_3dmObjectAttributes::ON_3dmObjectAttributes()
{
  Default();
}

ON_3dmObjectAttributes::~ON_3dmObjectAttributes() = default;

void ON_3dmObjectAttributes::Default()
{
  m_uuid = ON_nil_uuid;
  m_name.Destroy();
  m_url.Destroy();
  m_layer_index = 0;
  m_material_index = -1;
  m_linetype_index = -1;
  m_color = ON_Color(0u);
  m_plot_color = ON_Color(0u);
  m_color_source = (unsigned char)ON::color_from_layer;
}

bool ON_3dmObjectAttributes::IsValid(ON_TextLog*) const
{
  return m_layer_index >= 0;
}

ON::object_color_source ON_3dmObjectAttributes::ColorSource() const
{
  return ON::ObjectColorSource(m_color_source);
}

void ON_3dmObjectAttributes::SetColorSource(ON::object_color_source source)
{
  m_color_source = (unsigned char)ON::ObjectColorSource((int)source);
}

// ---------------------------------------------------------------------------
// ON_InstanceDefinition, ON_InstanceRef

ON_OBJECT_IMPLEMENT(ON_InstanceDefinition, ON_Geometry, "26F8BFF6-2618-417f-A158-153D64A94989")

ON_InstanceDefinition::ON_InstanceDefinition() : m_uuid(ON_nil_uuid) {}

ON_InstanceDefinition::~ON_InstanceDefinition() = default;

bool ON_InstanceDefinition::IsValid(ON_TextLog*) const
{
  return ON_UuidIsNotNil(m_uuid);
}

ON::object_type ON_InstanceDefinition::ObjectType() const
{
  return ON::instance_definition;
}

ON_BoundingBox ON_InstanceDefinition::BoundingBox() const
{
  return m_bbox;
}

bool ON_InstanceDefinition::Transform(const ON_Xform&)
{
  return false;
}

const wchar_t* ON_InstanceDefinition::Name() const
{
  return m_name.Array();
}

void ON_InstanceDefinition::SetName(const wchar_t* name)
{
  m_name = name;
}

const wchar_t* ON_InstanceDefinition::Description() const
{
  return m_description.Array();
}

void ON_InstanceDefinition::SetDescription(const wchar_t* description)
{
  m_description = description;
}

ON_UUID ON_InstanceDefinition::Uuid() const
{
  return m_uuid;
}

void ON_InstanceDefinition::SetUuid(ON_UUID uuid)
{
  m_uuid = uuid;
}

const ON_UUID& ON_InstanceDefinition::Id() const
{
  return m_uuid;
}

bool ON_InstanceDefinition::SetId(ON_UUID uuid)
{
  m_uuid = uuid;
  return true;
}

const ON_SimpleArray<ON_UUID>& ON_InstanceDefinition::InstanceGeometryIdList() const
{
  return m_object_uuid;
}

void ON_InstanceDefinition::SetInstanceGeometryIdList(const ON_SimpleArray<ON_UUID>& list)
{
  m_object_uuid = list;
}

ON_OBJECT_IMPLEMENT(ON_InstanceRef, ON_Geometry, "F9CFB638-B9D4-4340-87E3-C56E7865D96A")

ON_InstanceRef::ON_InstanceRef() : m_instance_definition_uuid(ON_nil_uuid) {}

ON_InstanceRef::~ON_InstanceRef() = default;

bool ON_InstanceRef::IsValid(ON_TextLog*) const
{
  return ON_UuidIsNotNil(m_instance_definition_uuid) && m_xform.IsValid();
}

ON::object_type ON_InstanceRef::ObjectType() const
{
  return ON::instance_reference;
}

ON_BoundingBox ON_InstanceRef::BoundingBox() const
{
  return m_bbox;
}

bool ON_InstanceRef::Transform(const ON_Xform& xform)
{
  m_xform = xform * m_xform;
  return true;
}

// ---------------------------------------------------------------------------
// ON_Annotation2, ON_TextEntity2

ON_OBJECT_IMPLEMENT(ON_Annotation2, ON_Geometry, "8D820224-BC6C-46b4-9066-BF39CC13AEFB")

ON_Annotation2::ON_Annotation2()
    : m_type(ON::dtNothing), m_textdisplaymode(ON::dtAboveLine), m_plane(ON_Plane::World_xy), m_textheight(1.0),
      m_index(0), m_justification(0)
{
}

ON_Annotation2::~ON_Annotation2() = default;

bool ON_Annotation2::IsValid(ON_TextLog*) const
{
  return m_plane.IsValid();
}

ON::object_type ON_Annotation2::ObjectType() const
{
  return ON::annotation_object;
}

bool ON_Annotation2::Transform(const ON_Xform& xform)
{
  return m_plane.Transform(xform);
}

ON_OBJECT_IMPLEMENT(ON_TextEntity2, ON_Annotation2, "46F75541-F46B-48be-AA7E-B353BBE068A7")

ON_TextEntity2::ON_TextEntity2()
{
  m_type = ON::dtTextBlock;
  m_textdisplaymode = ON::dtNormal;
}

ON_TextEntity2::~ON_TextEntity2() = default;

bool ON_TextEntity2::IsValid(ON_TextLog* text_log) const
{
  return ON_Annotation2::IsValid(text_log) && m_points.Count() >= 1 && m_usertext.IsNotEmpty();
}

// ---------------------------------------------------------------------------
// ON_Mesh as geometry

ON_OBJECT_IMPLEMENT(ON_Mesh, ON_Geometry, "4ED7D4E4-E947-11d3-BFE5-0010830122F0")

ON::object_type ON_Mesh::ObjectType() const
{
  return ON::mesh_object;
}

ON_BoundingBox ON_Mesh::BoundingBox() const
{
  ON_BoundingBox b;
  bool first = true;
  for (int i = 0; i < m_V.Count(); i++)
  {
    const ON_3dPoint p(m_V[i]);
    if (!p.IsValid())
      continue;
    b.Set(p, !first);
    first = false;
  }
  return b;
}

bool ON_Mesh::Transform(const ON_Xform& xform)
{
  for (int i = 0; i < m_V.Count(); i++)
    m_V[i] = ON_3fPoint(xform * ON_3dPoint(m_V[i]));
  DestroyTopology();
  return true;
}
