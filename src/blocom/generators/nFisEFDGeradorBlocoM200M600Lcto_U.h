#pragma once
// M200/M600 e M205/M605 calculados a partir dos lançamentos. LctoEFD: compensa créditos,
// retidos e demais deduções na ordem da empresa antes de gerar o M205; LctoDacon: lê os totais
// dos regimes de lucro real e presumido.
#include <functional>
#include <map>

#include "blocom/generators/nFisEFDGeradorBlocoM200M600_U.h"
#include "host/OpcaoEFD.h"

class TnFisEFDGeradorM200_M600Lcto : public TnFisEFDGeradorM200_M600 {
 public:
  using TnFisEFDGeradorM200_M600::TnFisEFDGeradorM200_M600;
};

class TnFisEFDGeradorM200_M600LctoDacon : public TnFisEFDGeradorM200_M600Lcto {
 public:
  using TnFisEFDGeradorM200_M600Lcto::TnFisEFDGeradorM200_M600Lcto;
  void CarregarDados() override;
  void CriarGeradoresFilhos() override;

 protected:
  void CarregarContribLucroReal();
  void CarregarRetidoLucroReal();
  void CarregarContribLucroPresumido();
  void CarregarRetidoLucroPresumido();
  std::string GetTabelaTotal(const std::string& ATabela) const;
  std::string GetCondEstab(const std::string& APrefixo) const;
  int FRegime = 0;
};

using TCompensacao = std::function<void()>;

class TnFisEFDGeradorM200_M600LctoEFD : public TnFisEFDGeradorM200_M600Lcto {
 public:
  TnFisEFDGeradorM200_M600LctoEFD(TnFisEFDControleBlocoM& AControle, int16_t AImposto);
  ~TnFisEFDGeradorM200_M600LctoEFD() override;
  void CarregarDados() override {}
  void CriarGeradoresFilhos() override;
  void DepoisCarregarDadosFilhos() override;

  void CompensarCreditos();
  void CompensarRetidos();
  void CompensarDeducoesDiversas();
  std::string GetSqlEFDDeducoesDiversas() const;

 protected:
  TnFisEFDGeradorM205_M605LctoEFD* FGeradorM205_M605 = nullptr;  // o filho; a lista de filhos é dona
  std::map<int, TCompensacao> FCompensacao;
};

class TnFisEFDGeradorM205_M605LctoDacon : public TnFisEFDGeradorM205_M605Lcto {
 public:
  using TnFisEFDGeradorM205_M605Lcto::TnFisEFDGeradorM205_M605Lcto;
  void CarregarDados() override;
  void CarregarDadosM205_605SCP();
  void CarregarDadosM205_605SCPOstens();
  // Chave de origem dos débitos federais; vazia quando a empresa não tem regime no período.
  std::string GetDadosImposto(int& AImpostoCum, int& AVariacaoCum, bool& ALucroReal);
};
