#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoEFD_U.h"

#include "blocom/generators/nFisEFDGeradorBlocoM105M505Lcto_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM110M510LctoEFD_U.h"
#include "credits/nFisEFDControleCredito_U.h"

void TnFisEFDGeradorM100_M500LctoEFD::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM105_M505Lcto>();
  CriarFilho<TnFisEFDGeradorM110_M510LctoEFD>();
}

void TnFisEFDGeradorM100_M500LctoEFD::DepoisCarregarDadosFilhos() { IncluirCreditosApuradosNoPeriodo(); }

void TnFisEFDGeradorM100_M500LctoEFD::IncluirCreditosApuradosNoPeriodo() {
  auto& controle = GetControleCredito();
  for (auto& [tipo, m001] : *Controle().FLstRegistroM001) {
    TDadosCredito cred;
    TnFisEFDControleCredito::LimparDadosCredito(cred);
    for (auto& [k, reg] : FImposto == 15 ? m001->FM100List : m001->FM500List) {
      cred.RegM100_500 = reg.get();
      cred.IMPOSTO = FImposto;
      cred.TIPOAPURACAO = static_cast<int32_t>(tipo);
      cred.DATATOTAL = cred.PERAPUCRED = GetDataInicial();
      cred.ORIGCRED = 1;
      cred.CODCRED = "4.3.06." + reg->FCOD_CRED;
      cred.ALIQIMPOSTO = reg->FALIQ;
      cred.VLCREDAPU = reg->GetVL_CRED_DISP();
      controle.InserirCredito(cred);
    }
  }
}
