#pragma once
// Datasets: TDataSet lê em fluxo (só para frente, memória constante); TnClientDataSet
// (host/ClientDataSet.h) é a tabela em memória.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Variant.h"

class TDataSet;

// Campo da linha corrente de um dataset.
class TField {
 public:
  TField(TDataSet& dono, int indice, std::string nome) : FDono(&dono), FIndice(indice), FFieldName(std::move(nome)) {}
  const std::string& FieldName() const { return FFieldName; }
  int Index() const { return FIndice; }
  const TVariant& Value() const;
  bool IsNull() const { return VarIsNull(Value()); }
  int64_t AsInteger() const;
  int64_t AsLargeInt() const { return AsInteger(); }
  double AsFloat() const;
  std::string AsString() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  void SetValue(TVariant v);  // só em datasets editáveis (TnClientDataSet)

 private:
  TDataSet* FDono;
  int FIndice;
  std::string FFieldName;
};

// Evento de progresso: disparado a cada linha buscada.
using TDoIncProgresso = std::function<void(TDataSet& _ADataSet)>;

class TDataSet {
 public:
  TDataSet() = default;
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;
  virtual ~TDataSet() = default;

  bool Eof() const { return FEof; }
  bool IsEmpty() const { return FEof && FRecNo <= 0; }
  virtual void Next();
  int64_t RecNo() const { return FRecNo; }  // 1 na primeira linha

  int FieldCount() const { return static_cast<int>(FFields.size()); }
  TField& Fields(int i) { return *FFields.at(static_cast<size_t>(i)); }
  TField* FindField(std::string_view nome);  // nome sem distinção de maiúsculas
  TField& FieldByName(std::string_view nome); // lança EBancoDados "Campo não encontrado: NOME"

  TDoIncProgresso DoIncProgresso;
  virtual void Close() {}

  // Usado por TField e pelos backends.
  virtual const TVariant& ValorCampo(int indice) const;
  virtual void DefinirValorCampo(int indice, TVariant v);

 protected:
  void DefinirCampos(const std::vector<std::string>& nomes);
  // Busca a próxima linha em FLinha; false no fim dos dados.
  virtual bool BuscarProxima() = 0;
  // Chamado pelo backend depois de definir os campos: posiciona na primeira linha.
  void Abrir();

  std::vector<std::unique_ptr<TField>> FFields;
  std::vector<TVariant> FLinha;
  bool FEof = true;
  int64_t FRecNo = 0;
};
