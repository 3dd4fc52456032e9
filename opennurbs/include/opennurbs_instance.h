// Block definitions (instance definitions) and references to them.
#pragma once

#include "opennurbs_array.h"
#include "opennurbs_geometry.h"
#include "opennurbs_string.h"
#include "opennurbs_uuid.h"
#include "opennurbs_xform.h"

// A named set of geometry that instance references place in a model.
class ON_CLASS ON_InstanceDefinition : public ON_Geometry
{
  ON_OBJECT_DECLARE(ON_InstanceDefinition);

public:
  // Empty name, nil id, no geometry.
  ON_InstanceDefinition();
  ON_InstanceDefinition(const ON_InstanceDefinition&) = default;
  ON_InstanceDefinition& operator=(const ON_InstanceDefinition&) = default;
  ~ON_InstanceDefinition() override;

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  ON::object_type ObjectType() const override;
  ON_BoundingBox BoundingBox() const override;
  // Definitions are not transformed.
  bool Transform(const ON_Xform& xform) override;

  // Never null; L"" when no name is set.
  const wchar_t* Name() const;
  void SetName(const wchar_t* name);
  const wchar_t* Description() const;
  void SetDescription(const wchar_t* description);
  ON_UUID Uuid() const;
  void SetUuid(ON_UUID uuid);
  // The same id under its later name.
  const ON_UUID& Id() const;
  bool SetId(ON_UUID uuid);
  const ON_SimpleArray<ON_UUID>& InstanceGeometryIdList() const;
  void SetInstanceGeometryIdList(const ON_SimpleArray<ON_UUID>& instance_geometry_id_list);

  ON_UUID m_uuid;
  ON_wString m_name;
  ON_wString m_description;
  ON_SimpleArray<ON_UUID> m_object_uuid;
  ON_BoundingBox m_bbox;
};

// One placement of an instance definition.
class ON_CLASS ON_InstanceRef : public ON_Geometry
{
  ON_OBJECT_DECLARE(ON_InstanceRef);

public:
  // Nil definition id, identity transform, empty box.
  ON_InstanceRef();
  ON_InstanceRef(const ON_InstanceRef&) = default;
  ON_InstanceRef& operator=(const ON_InstanceRef&) = default;
  ~ON_InstanceRef() override;

  // A definition id that is not nil and a transform that is valid.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  ON::object_type ObjectType() const override;
  ON_BoundingBox BoundingBox() const override;
  // m_xform becomes xform * m_xform.
  bool Transform(const ON_Xform& xform) override;

  ON_UUID m_instance_definition_uuid;
  ON_Xform m_xform;
  ON_BoundingBox m_bbox;
};
