// Saldos de créditos e de retidos de períodos anteriores.
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::SaldosAnteriores() {
  if (!EhEFD() || Cumulativa()) return;
  const TDateTime anterior = IncMonth(FInicio, -1);
  auto& sc = c("EFDSALDOCOMPCRED",
               "CODIGOEMPRESA DATATOTAL SEQ IMPOSTO TIPOAPURACAO PERAPUCRED ORIGCRED CNPJSUC CODCRED ALIQIMPOSTO VLCREDAPU "
               "VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT VLCREDDESCEFD VLCREDPEREFD VLCREDDCOMPEFD "
               "VLCREDTRANS VLCREDOUT SLDCREDFIM");
  auto& sce = c("EFDSALDOCOMPCREDESTAB",
                "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ IMPOSTO TIPOAPURACAO PERAPUCRED ORIGCRED CNPJSUC CODCRED "
                "ALIQIMPOSTO VLCREDAPU VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT VLCREDDESCEFD "
                "VLCREDPEREFD VLCREDDCOMPEFD VLCREDTRANS VLCREDOUT SLDCREDFIM");
  // créditos de dois e de três meses atrás ainda com saldo, e um agroindustrial presumido
  struct TCred {
    int Meses;
    const char* Cod;
    int64_t AliqPis, AliqCofins;
  };
  const TCred creditos[] = {{2, "4.3.06.101", 16500, 76000}, {3, "4.3.06.101", 16500, 76000},
                            {2, "4.3.06.102", 8000, 37000}, {3, "4.3.06.106", 9900, 45600}};
  int seq = 0, seqEstab = 0;
  for (const auto& cr : creditos)
    for (int imposto : {15, 16}) {
      const int64_t apu = s.Entre(100000, 2000000) * (imposto == 16 ? 4 : 1);
      const int64_t descAnt = Parte(apu, 30, 100), descEfd = Parte(apu, 20, 100);
      const TParams valores = {I(imposto), I(0), D(IncMonth(FInicio, -cr.Meses)), I(1), N(), T(cr.Cod),
                               A(imposto == 15 ? cr.AliqPis : cr.AliqCofins), V(apu), V(0), V(descAnt), V(0), V(0),
                               V(descEfd), V(0), V(0), V(0), V(0), V(apu - descAnt - descEfd)};
      TParams linha = {I(FEmpresa), D(anterior), I(++seq)};
      linha.insert(linha.end(), valores.begin(), valores.end());
      sc.Linha(linha);
      for (const auto& e : FEstabs) {
        if (e.SCP) continue;
        TParams le = {I(FEmpresa), I(e.Codigo), D(anterior), I(++seqEstab)};
        le.insert(le.end(), valores.begin(), valores.end());
        sce.Linha(le);
      }
    }
  auto& ini = c("EFDSALDOCOMPCREDINICIAL",
                "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS TIPOCREDSPED SEQ IMPOSTO TIPOAPURACAO PERAPUCRED ORIGCRED CNPJSUC "
                "CODCRED ALIQIMPOSTO VLCREDAPU VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT "
                "VLCREDDESCEFD VLCREDPEREFD VLCREDDCOMPEFD VLCREDTRANS VLCREDOUT");
  // saldo inicial informado na implantação e uma compensação declarada (PER/DCOMP) no mês
  ini.Linha({I(FEmpresa), I(1), D(anterior), I(0), I(1), I(15), I(0), D(IncMonth(FInicio, -12)), I(1), N(),
             T("4.3.06.201"), A(16500), V(250000), V(0), V(100000), V(0), V(0), V(0), V(0), V(0), V(0), V(0)});
  ini.Linha({I(FEmpresa), I(1), D(anterior), I(0), I(2), I(16), I(0), D(IncMonth(FInicio, -12)), I(1), N(),
             T("4.3.06.201"), A(76000), V(1150000), V(0), V(460000), V(0), V(0), V(0), V(0), V(0), V(0), V(0)});
  ini.Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(3), I(16), I(0), D(IncMonth(FInicio, -12)), I(1), N(),
             T("4.3.06.201"), A(76000), V(0), V(0), V(0), V(0), V(0), V(0), V(0), V(200000), V(0), V(0)});

  if (FPerfil == TPerfilDemo::pdNaoCumulativo)
    c("EFDCREDITOEVENTOINCFUSCIS",
      "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDNATEVENTO PERAPUCRED CODIGOTABSPED INSCRFEDERAL TIPOAPURACAO "
      "VALORCREDTRANSFPIS VALORCREDTRANSFCOFINS PERCCREDITOTRANSF")
        .Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(1), D(IncMonth(FInicio, -2)), T("4.3.06.101"),
                T(CNPJ(77777777, 1)), I(0), V(123456), V(568640), A(1000000)});

  auto& sr = c("EFDSALDORETIDO",
               "CODIGOEMPRESA DATATOTAL SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED VLRETPER VLRETDCOMP "
               "SLDRET VLDIFERIDOAPU VLDIFERIRAPU");
  auto& sre = c("EFDSALDORETIDOESTAB",
                "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED "
                "VLRETPER VLRETDCOMP SLDRET VLDIFERIDOAPU VLDIFERIRAPU");
  seq = 0;
  for (int imposto : {15, 16}) {
    const int64_t apu = imposto == 15 ? 65000 : 300000, ded = apu / 4;
    const TDateTime retencao = IncMonth(FInicio, -2) + 10;
    sr.Linha({I(FEmpresa), D(anterior), I(++seq), I(imposto), I(1), D(retencao), T("4.3.05.01"), V(apu), V(ded), V(0),
              V(0), V(apu - ded), V(0), V(0)});
    sre.Linha({I(FEmpresa), I(1), D(anterior), I(seq), I(imposto), I(1), D(retencao), T("4.3.05.01"), V(apu), V(ded),
               V(0), V(0), V(apu - ded), V(0), V(0)});
  }
  auto& ri = c("EFDSALDORETIDOINICIAL",
               "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED VLRETPER "
               "VLRETDCOMP SLDRET");
  ri.Linha({I(FEmpresa), I(1), D(anterior), I(1), I(15), I(3), D(IncMonth(FInicio, -6)), T("4.3.05.51"), V(30000),
            V(10000), V(0), V(0), V(20000)});
  auto& rc = c("EFDSALDORETIDOCOMP",
               "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET DATARETENCAO TIPODEBITO VLRETUTILREST "
               "VLRETUTILCOMP");
  rc.Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(16), I(1), D(IncMonth(FInicio, -2) + 10), T("4.3.05.01"), V(0),
            V(50000)});
  // compensação sem retenção correspondente: aparece na lista de avisos da execução
  rc.Linha({I(FEmpresa), I(1), D(FInicio), I(2), I(15), I(4), D(IncMonth(FInicio, -5)), T("4.3.05.01"), V(1000), V(0)});
}

}  // namespace demo
