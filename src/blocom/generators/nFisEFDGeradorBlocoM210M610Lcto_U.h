#pragma once
// M210/M610 e M211/M611 calculados a partir dos lançamentos (totais por CST das saídas):
// variantes dos repositórios LctoEFD e LctoDacon.
#include <memory>
#include <string>

#include "blocom/generators/nFisEFDGeradorBlocoM200M600_U.h"

class TnFisEFDGeradorTotalCST;

struct TRecM210_610 {
  std::string COD_CONT;
  double VL_REC_BRT = 0, VL_BC_CONT = 0, ALIQ = 0, QUANT_BC = 0, ALIQ_QUANT = 0, VlBcNCompCred = 0, VlBcNCompRet = 0;
  TTipoApuracao TipoApuracao = TTipoApuracao::taNormal;
};

// Chave do detalhe: código da contribuição, alíquota e alíquota por quantidade (4 casas). Os
// ajustes do M220/M225 procuram o detalhe por ela.
std::string ChaveM210_610(const std::string& ACodCont, double AAliq, double AAliqQuant);

class TnFisEFDGeradorM210_M610Lcto : public TnFisEFDGeradorM210_M610 {
 public:
  TnFisEFDGeradorM210_M610Lcto(TnFisEFDControleBlocoM& AControle, int16_t AImposto);
  ~TnFisEFDGeradorM210_M610Lcto() override;
  void CarregarDados() override;
  virtual void ConfTotaisEFD();
  void GerarM210_610(const TRecM210_610& ARec, bool ANovo = false);
  static std::unique_ptr<TM210_610DetalheContrib> RecParaObj(const TRecM210_610& ARec);

 protected:
  void CarregarDadosTributario();
  void CarregarDadosImob();
  void CarregarDadosDemaisDoc();
  void CarregarDadosSCP();
  std::unique_ptr<TnFisEFDGeradorTotalCST> FGerarTotalEFD;
};

class TnFisEFDGeradorM210_M610LctoDacon : public TnFisEFDGeradorM210_M610Lcto {
 public:
  using TnFisEFDGeradorM210_M610Lcto::TnFisEFDGeradorM210_M610Lcto;
  int GetTipoApuracao(int) override { return 0; }
  void CriarGeradoresFilhos() override;
};

class TnFisEFDGeradorM210_M610LctoEFD : public TnFisEFDGeradorM210_M610Lcto {
 public:
  using TnFisEFDGeradorM210_M610Lcto::TnFisEFDGeradorM210_M610Lcto;
  void CriarGeradoresFilhos() override;
};

struct TRecM211_611 {
  int IND_TIP_COOP = 0;
  double VL_BC_CONT_ANT_EXC_COOP = 0, VL_EXC_COOP_GER = 0, VL_EXC_ESP_COOP = 0;
};

class TnFisEFDGeradorM211_M611Lcto : public TnFisEFDGeradorM211_M611 {
 public:
  using TnFisEFDGeradorM211_M611::TnFisEFDGeradorM211_M611;
  void CarregarDados() override;
  static void GerarM211_611(TM210_610DetalheContrib& ADetalhe, const TRecM211_611& ARec);
};

class TnFisEFDGeradorM211_M611LctoDacon : public TnFisEFDGeradorM211_M611Lcto {
 public:
  using TnFisEFDGeradorM211_M611Lcto::TnFisEFDGeradorM211_M611Lcto;
};

class TnFisEFDGeradorM211_M611LctoEFD : public TnFisEFDGeradorM211_M611Lcto {
 public:
  using TnFisEFDGeradorM211_M611Lcto::TnFisEFDGeradorM211_M611Lcto;
};
