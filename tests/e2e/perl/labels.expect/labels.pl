#!/usr/bin/perl 



$false = 0;
$true = 1;

$n = 3;
    top:
printf("%i",$n);
$n = $n - 1 ;

$flags[0] = $false;
$flags[1] = $false;
$flags[2] = $false;
$flags[3] = $false;
$flags[4] = $false;
$flags[5] = $false;
$flags[6] = $false;
if($n eq 0)
{
$flags[0] = $true;
}
if( $n >  0)
{
$flags[1] = $true;
}
if( $n >= 0)
{
$flags[2] = $true;
}
if( $n < 0)
{
$flags[3] = $true;
}
if( $n <= 0)
{
$flags[4] = $true;
}
if( $n ne 0)
{
$flags[5] = $true;
}
 if($flags[1] eq $true )
 { 
 goto top;
}

printf("\n");
goto done;
printf("skipped");
done: # the end
