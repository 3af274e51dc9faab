#pragma once
// TnClientDataSet: tabela em memória (definição de campos, inclusão/edição/exclusão,
// ordem por campos, busca por chave, filtro por expressão).
#include <memory>
#include <string>
#include <vector>

#include "host/DataSet.h"

class TComponent;  // dono (ignorado: a posse é do unique_ptr de quem cria)

enum class TDataSetState { dsBrowse, dsEdit, dsInsert };

struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftUnknown;
  int Size = 0;
};

namespace FiltroCDS {
struct TNo;
}

class TnClientDataSet : public TDataSet {
 public:
  explicit TnClientDataSet(TComponent* AOwner = nullptr);
  ~TnClientDataSet() override;

  // Definição: AddFieldDef... e CreateDataSet (ou CarregarDe um dataset aberto).
  void AddFieldDef(const std::string& ANome, TFieldType ATipo, int ATamanho = 0);
  const std::vector<TFieldDef>& FieldDefs() const { return FFieldDefs; }
  void CreateDataSet();
  // Copia as linhas restantes do dataset (a partir da corrente) com os campos dele.
  void CarregarDe(TDataSet& AOrigem);

  // Navegação (na ordem do índice, só as linhas que passam no filtro).
  void First() override;
  void Next() override;
  void Last();
  void Prior();
  bool Bof() const { return FBof; }
  int RecordCount() const { return static_cast<int>(FVisao.size()); }
  bool IsEmpty() const override { return FVisao.empty(); }

  // Edição.
  TDataSetState State() const { return FState; }
  void Append();
  void Insert() { Append(); }
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void EmptyDataSet();

  // Ordem: nomes separados por ';' ("A;B"); vazio = ordem de inclusão.
  void SetIndexFieldNames(const std::string& ACampos);
  const std::string& IndexFieldNames() const { return FIndexFieldNames; }
  // Posiciona na primeira linha (ordem do índice) cujos campos do índice valem AChave.
  bool FindKey(const TParams& AChave);
  // Posiciona na primeira linha (ordem corrente) cujos campos ("A;B") valem AValores.
  bool Locate(const std::string& ACampos, const TParams& AValores);

  // Filtro: CAMPO op literal, com and/or/not e parênteses; op = < <= > >= <>;
  // literais: números, 'texto' (aspas dobradas), NULL (só com = e <>). Datas comparam pelo
  // número de dias. Lança EEntradaInvalida se a expressão não for entendida.
  void SetFilter(const std::string& AFiltro);
  const std::string& Filter() const { return FFilter; }
  void SetFiltered(bool AFiltrado);
  bool Filtered() const { return FFiltered; }

  const TVariant& ValorCampo(int indice) const override;
  void DefinirValorCampo(int indice, TVariant v) override;
  void Reexecutar(const TParams& AValores) override;

  // Usado por Nutildb::ExecutarSQL para guardar a origem da consulta.
  void DefinirOrigem(const std::string& ASQL, TDatabase* AConexao) {
    FCommandText = ASQL;
    FConexao = AConexao;
  }

 protected:
  bool BuscarProxima() override { return false; }

 private:
  void Reconstruir(size_t ALinhaPreferida);
  void Posicionar(size_t APos);
  bool Passa(size_t ALinha) const;
  int Comparar(size_t a, size_t b) const;
  bool Antes(size_t a, size_t b) const;
  std::vector<int> IndicesCampos(const std::string& ACampos) const;
  TVariant Coagir(int indice, TVariant v) const;
  size_t LinhaCorrente() const;

  std::vector<TFieldDef> FFieldDefs;
  std::vector<std::vector<TVariant>> FLinhas;  // ordem de inclusão
  std::vector<size_t> FVisao;  // índices de FLinhas, na ordem do índice, filtrados
  size_t FPos = 0;
  bool FBof = true;
  TDataSetState FState = TDataSetState::dsBrowse;
  std::vector<TVariant> FBuffer;
  size_t FLinhaEditada = 0;
  std::string FIndexFieldNames;
  std::vector<int> FIndice;
  std::string FFilter;
  bool FFiltered = false;
  std::shared_ptr<FiltroCDS::TNo> FArvoreFiltro;
  bool FCriado = false;
};
