#pragma once
// Mapas de linha: cada membro é declarado uma vez com PISCO_CAMPO(NOME) e o nome do membro é
// o nome da coluna. TnFieldMapper::MapearFields liga os membros às colunas do dataset.
//
//   struct TMapCred : TRowMap {
//     PISCO_CAMPO(SEQ);
//     PISCO_CAMPO(VLCRED);
//   };
//   TMapCred mapa;
//   FieldMapper().MapearFields(*ds, mapa);
//   for (; !ds->Eof(); ds->Next()) total += mapa.VLCRED.AsFloat();
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "host/DataSet.h"

class TRowMap;

// Referência a um campo do dataset, ligada por nome.
class TFieldRef {
 public:
  TFieldRef(TRowMap* ADono, const char* ANome);
  TFieldRef(const TFieldRef&) = delete;
  TFieldRef& operator=(const TFieldRef&) = delete;

  const char* Nome() const { return FNome; }
  bool Vinculado() const { return FField != nullptr; }
  TField& Field() const;  // lança EBancoDados se o mapa não foi ligado
  TField* operator->() const { return &Field(); }

  const TVariant& Value() const { return Field().Value(); }
  bool IsNull() const { return Field().IsNull(); }
  int64_t AsInteger() const { return Field().AsInteger(); }
  double AsFloat() const { return Field().AsFloat(); }
  std::string AsString() const { return Field().AsString(); }
  TDateTime AsDateTime() const { return Field().AsDateTime(); }
  bool AsBoolean() const { return Field().AsBoolean(); }
  void SetValue(TVariant v) const { Field().SetValue(std::move(v)); }

 private:
  friend class TnFieldMapper;
  TField* FField = nullptr;
  const char* FNome;
};

// Base dos mapas de linha: guarda os membros na ordem de declaração.
class TRowMap {
 public:
  TRowMap() = default;
  TRowMap(const TRowMap&) = delete;
  TRowMap& operator=(const TRowMap&) = delete;
  virtual ~TRowMap() = default;
  const std::vector<TFieldRef*>& Campos() const { return FCampos; }

 private:
  friend class TFieldRef;
  std::vector<TFieldRef*> FCampos;
};

#define PISCO_CAMPO(NOME) TFieldRef NOME{this, #NOME}

class TnFieldMapper {
 public:
  // Liga cada membro do mapa à coluna de mesmo nome; lança EBancoDados se faltar coluna.
  void MapearFields(TDataSet& ADataSet, TRowMap& AMapa) const;

  // Mapa da classe T guardado no dataset (criado e ligado na primeira chamada).
  template <class T>
  T& MapearFields(TDataSet& ADataSet) const {
    auto& slot = ADataSet.MapaEmCache(std::type_index(typeid(T)));
    if (!slot) {
      auto mapa = std::make_shared<T>();
      MapearFields(ADataSet, *mapa);
      slot = mapa;
    }
    return *static_cast<T*>(slot.get());
  }
};

inline TnFieldMapper FieldMapper() { return {}; }
