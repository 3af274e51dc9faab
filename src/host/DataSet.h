#pragma once
// Datasets: TDataSet lê em fluxo (só para frente, memória constante); TnClientDataSet
// (host/ClientDataSet.h) é a tabela em memória.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "base/Variant.h"

class TDataSet;
class TRastroSQL;
class TDatabase;

// Tipo declarado de um campo (ftUnknown: o valor chega como o banco mandou).
enum class TFieldType { ftUnknown, ftInteger, ftFloat, ftString, ftDate, ftBoolean };

// Campo da linha corrente de um dataset.
class TField {
 public:
  TField(TDataSet& dono, int indice, std::string nome, TFieldType tipo = TFieldType::ftUnknown, int tamanho = 0)
      : FDono(&dono), FIndice(indice), FFieldName(std::move(nome)), FDataType(tipo), FSize(tamanho) {}
  const std::string& FieldName() const { return FFieldName; }
  int Index() const { return FIndice; }
  TFieldType DataType() const { return FDataType; }
  int Size() const { return FSize; }
  const TVariant& Value() const;
  bool IsNull() const { return VarIsNull(Value()); }
  int64_t AsInteger() const;
  int64_t AsLargeInt() const { return AsInteger(); }
  double AsFloat() const;
  std::string AsString() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  void SetValue(TVariant v);  // só em datasets editáveis (TnClientDataSet)
  void Clear() { SetValue(VarNull()); }

 private:
  friend class TDataSet;
  TDataSet* FDono;
  int FIndice;
  std::string FFieldName;
  TFieldType FDataType;
  int FSize;
};

// Evento de progresso: disparado a cada linha buscada.
using TDoIncProgresso = std::function<void(TDataSet& _ADataSet)>;

class TDataSet {
 public:
  TDataSet() = default;
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;
  virtual ~TDataSet() { FecharRastro(); }

  bool Eof() const { return FEof; }
  virtual bool IsEmpty() const { return FEof && FRecNo <= 0; }
  virtual void Next();
  // Datasets em fluxo só voltam ao início se ainda estiverem nele; TnClientDataSet sempre.
  virtual void First();
  int64_t RecNo() const { return FRecNo; }  // 1 na primeira linha

  int FieldCount() const { return static_cast<int>(FFields.size()); }
  TField& Fields(int i) { return *FFields.at(static_cast<size_t>(i)); }
  TField* FindField(std::string_view nome);  // nome sem distinção de maiúsculas
  TField& FieldByName(std::string_view nome); // lança EBancoDados "Campo não encontrado: NOME"

  TDoIncProgresso DoIncProgresso;
  virtual void Close() {}

  // Texto e conexão de origem (vazios num TnClientDataSet montado à mão).
  const std::string& CommandText() const { return FCommandText; }
  TDatabase* Conexao() const { return FConexao; }
  // Reexecuta a consulta de origem com novos valores, no mesmo objeto (Nutildb::RefreshSQL).
  virtual void Reexecutar(const TParams& AValores);
  // Quantas vezes o dataset foi (re)carregado: quem guarda o dataset percebe um refresh feito
  // por outro, que troca as linhas por outras de outros valores.
  uint64_t Carregamentos() const { return FCarregamentos; }

  // Usado por TField e pelos backends.
  virtual const TVariant& ValorCampo(int indice) const;
  virtual void DefinirValorCampo(int indice, TVariant v);

  // Cache de mapas de linha por classe (TnFieldMapper): vive enquanto o dataset viver.
  std::shared_ptr<void>& MapaEmCache(std::type_index tipo) { return FMapas[tipo]; }

 protected:
  // Define os campos; mantém os objetos TField quando nomes e quantidade não mudam
  // (mapas de linha continuam válidos depois de reexecutar).
  void DefinirCampos(const std::vector<std::string>& nomes);
  void DefinirCampos(const std::vector<std::string>& nomes, const std::vector<TFieldType>& tipos);
  // Busca a próxima linha em FLinha; false no fim dos dados.
  virtual bool BuscarProxima() = 0;
  // Chamado pelo backend depois de definir os campos: posiciona na primeira linha.
  void Abrir();
  // Backends: chamado no início de cada (re)execução, depois de FCommandText e FConexao.
  void IniciarRastro(const TParams& AValores);
  void DispararProgresso() {
    if (DoIncProgresso) DoIncProgresso(*this);
  }

  std::vector<std::unique_ptr<TField>> FFields;
  std::vector<TVariant> FLinha;
  bool FEof = true;
  int64_t FRecNo = 0;
  std::string FCommandText;
  TDatabase* FConexao = nullptr;
  std::unordered_map<std::type_index, std::shared_ptr<void>> FMapas;
  uint64_t FCarregamentos = 0;

 private:
  // Fecha a entrada do rastro: linhas lidas e tempo acumulado dentro do banco.
  void FecharRastro();
  TRastroSQL* FRastro = nullptr;
  size_t FRastroIndice = 0;
  int64_t FRastroNs = 0;
};
