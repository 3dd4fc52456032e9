// Object attributes: name, layer and colour of an object in a model.
#pragma once

#include "opennurbs_color.h"
#include "opennurbs_object.h"
#include "opennurbs_string.h"
#include "opennurbs_uuid.h"

class ON_CLASS ON_3dmObjectAttributes : public ON_Object
{
  ON_OBJECT_DECLARE(ON_3dmObjectAttributes);

public:
  // Colour from layer, black, layer 0, no name, nil id.
  ON_3dmObjectAttributes();
  ON_3dmObjectAttributes(const ON_3dmObjectAttributes&) = default;
  ON_3dmObjectAttributes& operator=(const ON_3dmObjectAttributes&) = default;
  ~ON_3dmObjectAttributes() override;

  // Back to the defaults.
  void Default();
  bool IsValid(ON_TextLog* text_log = nullptr) const override;

  ON::object_color_source ColorSource() const;
  void SetColorSource(ON::object_color_source source);

  ON_UUID m_uuid;
  ON_wString m_name;
  ON_wString m_url;
  int m_layer_index;
  int m_material_index;
  int m_linetype_index;
  ON_Color m_color;
  ON_Color m_plot_color;

private:
  unsigned char m_color_source;
};
